#include "report/DataFolder.h"

#include <utility>

DataFolder::DataFolder(std::string folder) : folder(std::move(folder)) {}

const DataFolder& DataFolder::Working() {
    static const DataFolder working{std::string()};
    return working;
}

std::string DataFolder::File(const std::string& name) const {
    if (folder.empty()) {
        return name;
    }
    const bool endsInSlash = folder.back() == '/';
    return folder + (endsInSlash ? "" : "/") + name;
}
