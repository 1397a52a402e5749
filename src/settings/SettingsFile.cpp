#include "settings/SettingsFile.h"

#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"

namespace tavelo {

Text SettingsFilePath() {
    return RunDirectory() + "/chat.ini";
}

Text ReadSetting(std::string_view key) {
    return GetPrivateProfileString(kSettingsSection, key, kSettingBufferSize, SettingsFilePath());
}

void WriteSetting(std::string_view key, std::string_view value) {
    WritePrivateProfileString(kSettingsSection, key, value, SettingsFilePath());
}

void HideSettingsFile() {
    SetFileAttributes(SettingsFilePath(), kSettingsFileAttributes);
}

}  // namespace tavelo
