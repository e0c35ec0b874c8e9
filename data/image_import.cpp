// "Read image file": every pixel of a picture becomes one record of three parameters.
#include "data/image_import.h"

#include <climits>
#include <cmath>
#include <new>
#include <unistd.h>

#include "data/data_page.h"
#include "data/hue.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/image.h"
#include "platform/system.h"

namespace {

// Bytes of memory the machine has; 0 when unknown.
long long PhysicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 0;
    return static_cast<long long>(pages) * size;
}

void RefuseTooLarge(int width, int height) {
    platform::MessageBox(platform::Format("The image is too large to read: %d x %d pixels", width, height));
}

}  // namespace

bool ImageValuesFit(long long storedValues, long long pixels, long long physicalMemory) {
    const long long total = storedValues + 3 * pixels;
    if (total > INT_MAX) return false;
    return physicalMemory <= 0 || total * static_cast<long long>(sizeof(double)) <= physicalMemory / 2;
}

void PixelRecord(int mode, int r, int g, int b, double out[3]) {
    if (mode == 0) {
        out[0] = r;
        out[1] = g;
        out[2] = b;
        return;
    }
    const double m = (r + g + b) * 0.333333;
    out[0] = 255 * HueOfRgb(r, g, b);
    out[1] = std::sqrt(0.3333333 * ((m - r) * (m - r) + (m - g) * (m - g) + (m - b) * (m - b)));
    out[2] = m;
}

int ReadImageFile(data& page, int mode) {
    platform::FileDialogRequest request;
    request.title = "Open image file";
    request.filter = "*.*|*.*||";
    const std::string folder = platform::CurrentDirectory();
    request.initialPath = folder.empty() ? std::string("*.*") : folder + "/*.*";
    // No default extension: "*.*" added to a typed name would make a path that never exists.
    const std::optional<std::string> chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen || chosen->empty()) return 0;
    return ReadImageFromPath(page, mode, *chosen);
}

int ReadImageFromPath(data& page, int mode, const std::string& path) {
    page.importNames = mode == 0 ? std::vector<std::string>{"R", "G", "B"} : std::vector<std::string>{"H", "S", "V"};
    platform::Image picture;
    // A refused picture always says why.
    if (!picture.Load(path)) {
        platform::MessageBox(picture.Error());
        page.importNames.clear();
        return 0;
    }
    const int width = picture.Width();
    const int height = picture.Height();
    if (width < 1 || width > kMaxImageSide || height < 1 || height > kMaxImageSide) {
        RefuseTooLarge(width, height);
        page.importNames.clear();
        return 0;
    }
    if (!page.CheckNewSeriesShape(3, page.pendingSeries)) {
        page.importNames.clear();
        return 0;
    }

    long long stored = 0;
    for (const Series& s : page.series) stored += static_cast<long long>(s.nParameters) * s.nRecords;
    const long long pixels = static_cast<long long>(width) * height;
    const long long total = stored + 3 * pixels;
    // A picture of 10000 x 10000 pixels takes 2.4 GB as values: refuse what cannot be held
    // rather than fail half-way.
    if (!ImageValuesFit(stored, pixels, PhysicalMemory())) {
        RefuseTooLarge(width, height);
        page.importNames.clear();
        return 0;
    }
    try {
        // Values beyond the last series belong to no series.
        if (static_cast<long long>(page.allValues.size()) > stored) page.allValues.resize(static_cast<std::size_t>(stored));
        page.allValues.reserve(static_cast<std::size_t>(total));
    } catch (const std::bad_alloc&) {
        RefuseTooLarge(width, height);
        page.importNames.clear();
        return 0;
    }
    AppendPixelRecords(mode, width, height, [&picture](int y, platform::ColorRef* row) { picture.ReadScanLine(y, row); },
                       page.allValues);
    picture.Clear();

    const int added = page.AddNewSeries(static_cast<int>(pixels), page.importNames);
    page.importNames.clear();
    page.UpdateButtonStates();
    return added;
}
