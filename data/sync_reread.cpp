// Following a text file that another program keeps writing: timer 2 of the data page
// reads the file again and replaces the records of the only series. A file found with
// fewer records (emptied, cut or being rewritten) leaves the series for the next tick, and
// a last line without its line end is not read yet.
#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "data/data_page.h"
#include "data/import_routines.h"
#include "data/open_file_retry.h"
#include "data/synchronize_dialog.h"
#include "data/text_lines.h"
#include "platform/requests.h"
#include "widgets/text_dialog.h"

namespace {

constexpr int kOpenRetries = 10;
constexpr int kOpenPauseMs = 20;

// What the re-read follows, copied when the timer starts: a later use of the text dialog
// (even one the store refuses) must not change the fields or separators under it.
struct FollowedFile {
    std::string path;
    std::string separators;
    int fieldCount = 0;
    std::vector<unsigned> selectedFlags;
    int hasHeader = 0;
};

std::map<const data*, FollowedFile>& FollowedFiles() {
    static std::map<const data*, FollowedFile> files;
    return files;
}

FollowedFile CurrentImportState(const data& page) {
    FollowedFile f;
    f.path = page.fileNameBuffer;
    f.separators = page.importSeparators;
    f.fieldCount = page.importFieldCount;
    f.selectedFlags = theText2.selectedFlags;
    if (f.fieldCount < 0) f.fieldCount = 0;
    if (f.selectedFlags.size() > static_cast<std::size_t>(f.fieldCount)) f.selectedFlags.resize(static_cast<std::size_t>(f.fieldCount));
    f.hasHeader = page.importHasHeader;
    return f;
}

}  // namespace

void OfferSynchronizedReread(data& page) {
    if (page.series.size() != 1 || theText2.synchronizeRequested != 1) return;
    if (theSynchronize.RunModal() == platform::kCancel) return;
    page.StartSyncTimer();
}

void data::StartSyncTimer() {
    FollowedFiles()[this] = CurrentImportState(*this);
    syncIntervalMs = SyncPeriodMs(theSynchronize.minutes, theSynchronize.seconds);
    SetTimer(kSyncTimerId, syncIntervalMs);
    syncTimerOn = 1;
}

void data::RereadSynchronizedFile() {
    // A command that stopped the following (the menu's text import) may leave one tick.
    if (syncTimerOn != 1 || series.size() != 1) return;
    auto found = FollowedFiles().find(this);
    const FollowedFile followed = found != FollowedFiles().end() ? found->second : CurrentImportState(*this);

    // Field i of the text is field i+1 of the line.
    std::vector<int> fieldNumbers;
    for (std::size_t i = 0; i < followed.selectedFlags.size(); ++i)
        if (followed.selectedFlags[i] != 0) fieldNumbers.push_back(static_cast<int>(i) + 1);
    const int n = series[0].nParameters;
    // The series no longer has the file's layout: following it would mix up the records.
    if (static_cast<int>(fieldNumbers.size()) != n || n < 1) {
        StopSyncTimer();
        return;
    }
    const int lastField = fieldNumbers.back();

    // The followed file replaced by a FIFO or a device: nothing to read at this tick.
    if (!IsRegularOrMissing(followed.path)) return;
    std::FILE* file = OpenFileRetry(followed.path.c_str(), 0, "r", kOpenRetries, kOpenPauseMs);
    if (file == nullptr) return;

    std::vector<double> values;
    std::vector<double> record(fieldNumbers.size());
    long long records = 0;
    bool layoutChecked = false;
    bool layoutChanged = false;
    TextLineReader reader(file, followed.separators.c_str());
    int count;
    while ((count = reader.Next()) != 0) {
        if (followed.hasHeader == 1 && firstLinePending == 1) {
            firstLinePending = 0;
            continue;
        }
        if (reader.Length(1) == 0) continue;
        if (!layoutChecked && !reader.Cut()) {
            // The first line tells whether the file still has the columns it was read with.
            layoutChecked = true;
            if (count != followed.fieldCount) {
                layoutChanged = true;
                break;
            }
        }
        // A line still being written may lack its last fields or digits: only whole lines count.
        if (lastField > count || !reader.LineEnded()) continue;
        if (!ReadNumericFields(reader, fieldNumbers, record)) continue;
        if (static_cast<long long>(values.size()) + n > INT_MAX) break;
        values.insert(values.end(), record.begin(), record.end());
        ++records;
    }
    std::fclose(file);
    if (layoutChanged) {
        StopSyncTimer();
        return;
    }
    // A file found shorter is being rewritten by its writer: the series waits for the next tick.
    if (records < series[0].nRecords) return;

    allValues.swap(values);
    importRecordCount = static_cast<std::int32_t>(records);
    series[0].nRecords = importRecordCount;
    series[0].firstValue = 0;
    NoteStoreChanged();
    RefreshSeriesList(1);
    platform::PostRepaintRequest();
}
