#include "data/import_routines.h"

#include <climits>

#include "data/data_page.h"
#include "data/name_limit.h"

std::string DefaultParameterName(int j) {
    // Built by appending: GCC 12 warns wrongly about "a" + std::to_string(j) when optimising.
    std::string name = "a";
    name += std::to_string(j);
    return name;
}

std::string NamesCutText() {
    const std::string limit = std::to_string(kMaxNameBytes);
    return "Some names were longer than " + limit + " bytes; they are cut to at most " + limit + " bytes.";
}

std::string FolderOfPath(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::vector<double> ImportBuffer::Take() {
    values_.resize(count_);
    // A buffer grown far ahead of its values would keep that room for good.
    if (values_.capacity() - count_ > count_ / 4 + kBlock) values_.shrink_to_fit();
    std::vector<double> out;
    out.swap(values_);
    count_ = 0;
    return out;
}

ImportTicket TakeImportTicket(const data& page) { return ImportTicket{page.ChangeCount(), page.pendingSeries}; }

bool StoreChangedSince(const data& page, const ImportTicket& ticket) { return page.ChangeCount() != ticket.stamp; }

int AddImportedSeries(data& page, const ImportTicket& ticket, ImportBuffer& buffer, int recordCount,
                      const std::vector<std::string>& names) {
    if (StoreChangedSince(page, ticket)) return 0;
    long long stored = 0;
    for (const Series& s : page.series) stored += static_cast<long long>(s.nParameters) * s.nRecords;
    std::vector<double> values = buffer.Take();
    if (stored + static_cast<long long>(values.size()) > INT_MAX) return 0;
    // Values beyond the last series belong to no series.
    if (static_cast<long long>(page.allValues.size()) > stored) page.allValues.resize(static_cast<std::size_t>(stored));
    if (page.allValues.empty()) {
        page.allValues.swap(values);
    } else {
        page.allValues.insert(page.allValues.end(), values.begin(), values.end());
    }
    // Painters read series shapes into pendingSeries while progress is pumped.
    page.pendingSeries = ticket.shape;
    return page.AddNewSeries(recordCount, names);
}

void ProgressFraction(long long current, long long total, int& currentOut, int& totalOut) {
    while (total > INT_MAX) {
        current /= 2;
        total /= 2;
    }
    currentOut = static_cast<int>(current < 0 ? 0 : (current > total ? total : current));
    totalOut = static_cast<int>(total);
}
