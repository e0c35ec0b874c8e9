#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "platform/dialog.h"
#include "platform/font_choice.h"
#include "platform/qt_text.h"
#include "platform/requests.h"

namespace platform {

namespace {

std::string& TitleStorage() {
    static std::string title;
    return title;
}

QWidget* DialogParent() {
    Dialog* main = MainWindow();
    return main && main->HasWindow() ? main->TopWidget() : nullptr;
}

// "Text files (*.txt)|*.txt|All files (*.*)|*.*||" -> "Text files (*.txt);;All files (*.*)"
QString QtFilter(const std::string& filter) {
    QStringList parts = ToQString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty()) break;
        QString entry = description;
        if (!description.endsWith(')')) entry += " (" + QString(patterns).replace(';', ' ') + ")";
        out << entry;
    }
    return out.join(";;");
}

std::string WithDefaultExtension(const QString& path, const std::string& extension) {
    if (path.isEmpty()) return std::string();
    if (extension.empty() || !QFileInfo(path).suffix().isEmpty()) return PathFromQString(path);
    return PathFromQString(path) + "." + extension;
}

class QtDialogs : public Dialogs {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override {
        QMessageBox box(DialogParent());
        box.setWindowTitle(ToQString(caption.empty() ? ApplicationTitle() : caption));
        box.setText(ToQString(text));
        switch (type & 0xF0) {
            case kIconError: box.setIcon(QMessageBox::Critical); break;
            case kIconQuestion: box.setIcon(QMessageBox::Question); break;
            case kIconWarning: box.setIcon(QMessageBox::Warning); break;
            default: break;
        }
        struct Choice {
            QMessageBox::StandardButton button;
            int answer;
        };
        std::vector<Choice> choices;
        switch (type & 0x0F) {
            case kButtonsOkCancel: choices = {{QMessageBox::Ok, kOk}, {QMessageBox::Cancel, kCancel}}; break;
            case kButtonsYesNoCancel:
                choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
                break;
            case kButtonsYesNo: choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}}; break;
            default: choices = {{QMessageBox::Ok, kOk}}; break;
        }
        QMessageBox::StandardButtons buttons;
        for (const Choice& c : choices) buttons |= c.button;
        box.setStandardButtons(buttons);
        box.setDefaultButton(choices.front().button);
        const int pressed = box.exec();
        for (const Choice& c : choices) {
            if (pressed == c.button) return c.answer;
        }
        // Closed without a button: Cancel where there is one, else the only answer.
        for (const Choice& c : choices) {
            if (c.answer == kCancel) return kCancel;
        }
        return choices.size() == 1 ? choices.front().answer : kNo;
    }

    std::optional<std::string> OpenFile(const FileDialogRequest& r) override {
        const QString path = QFileDialog::getOpenFileName(DialogParent(), ToQString(r.title), PathToQString(r.initialPath),
                                                          QtFilter(r.filter));
        if (path.isEmpty()) return std::nullopt;
        return PathFromQString(path);
    }

    std::optional<std::string> SaveFile(const FileDialogRequest& r) override {
        const QString path = QFileDialog::getSaveFileName(
            DialogParent(), ToQString(r.title), PathToQString(r.initialPath), QtFilter(r.filter), nullptr,
            r.confirmReplace ? QFileDialog::Options() : QFileDialog::Options(QFileDialog::DontConfirmOverwrite));
        if (path.isEmpty()) return std::nullopt;
        return WithDefaultExtension(path, r.defaultExtension);
    }

    std::optional<ColorRef> ChooseColor(ColorRef initial) override {
        const QColor c = QColorDialog::getColor(ToQColor(initial), DialogParent());
        if (!c.isValid()) return std::nullopt;
        return FromQColor(c);
    }

    std::optional<FontChoice> ChooseFont(const FontRequest& request) override {
        FontChoiceDialog dialog(request, DialogParent());
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Choice();
    }

    void RunModal(Dialog& dialog) override { dialog.ExecModalLoop(); }

    bool OpenWithShell(const std::string& pathOrUrl) override {
        const QUrl url = QUrl(ToQString(pathOrUrl), QUrl::StrictMode);
        // A drive-less path has no scheme; a one-letter scheme would be a drive, not an address.
        const bool address = url.isValid() && url.scheme().size() > 1;
        return QDesktopServices::openUrl(address ? url : QUrl::fromLocalFile(PathToQString(pathOrUrl)));
    }
};

QtDialogs& RealDialogs() {
    static QtDialogs real;
    return real;
}

Dialogs*& Installed() {
    static Dialogs* installed = nullptr;
    return installed;
}

}  // namespace

Dialogs& TheDialogs() {
    Dialogs* installed = Installed();
    return installed ? *installed : RealDialogs();
}

Dialogs* InstallDialogs(Dialogs* dialogs) {
    Dialogs* previous = Installed();
    Installed() = dialogs;
    return previous;
}

int MessageBox(const std::string& text, unsigned type, const std::string& caption) {
    return TheDialogs().MessageBox(text, caption.empty() ? ApplicationTitle() : caption, type);
}

void SetApplicationTitle(const std::string& title) { TitleStorage() = title; }

const std::string& ApplicationTitle() { return TitleStorage(); }

}  // namespace platform
