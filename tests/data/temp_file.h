#pragma once
// A file with the given content in a fresh temporary folder; both go with the object.
#include <cstdio>
#include <string>
#include <unistd.h>

namespace test_files {

class TempFile {
public:
    explicit TempFile(const std::string& content, const std::string& name = "import.txt") {
        char pattern[] = "/tmp/tabulon_import_XXXXXX";
        folder_ = mkdtemp(pattern);
        path_ = folder_ + "/" + name;
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    ~TempFile() {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};

}  // namespace test_files
