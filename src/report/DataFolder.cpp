#include "report/DataFolder.h"

#include <utility>

namespace {
// Not an owner: the folder made last and still alive, or null.
DataFolder* live = nullptr;
}  // namespace

DataFolder::DataFolder(std::string folder) : folder(std::move(folder)), replaced(live) {
    live = this;
}

DataFolder::~DataFolder() {
    if (live == this) {
        live = replaced;
    }
}

std::string DataFile(const std::string& name) {
    if (live == nullptr || live->folder.empty()) {
        return name;
    }
    const bool endsInSlash = live->folder.back() == '/';
    return live->folder + (endsInSlash ? "" : "/") + name;
}

std::string DataFolderName() {
    return live != nullptr ? live->folder : std::string();
}
