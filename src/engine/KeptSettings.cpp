#include "engine/KeptSettings.h"

KeptSettings::KeptSettings(const std::string& path) {
    if (!path.empty()) {
        file = std::make_unique<SettingsFile>(path);
        kept = file->Read();
    }
}

void KeptSettings::Keep(const Settings& now) {
    if (file != nullptr && !(now == kept)) {
        file->Write(now);
        kept = now;
    }
}
