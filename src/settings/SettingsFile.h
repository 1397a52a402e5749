// The user's settings in "chat.ini" beside the program: section "pz" with the bot's
// nickname ("name1"), the bot's avatar address ("name2") and the user's own avatar address
// ("name3"). Every read and write goes to the file itself; nothing is cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/Text.h"

namespace tavelo {

constexpr std::string_view kSettingsSection = "pz";
constexpr std::string_view kNicknameKey = "name1";
constexpr std::string_view kBotAvatarKey = "name2";
constexpr std::string_view kOwnAvatarKey = "name3";
// Room for a value with its terminating zero: values are read as at most 10239 bytes.
constexpr std::size_t kSettingBufferSize = 10240;
// Hidden, system and archive: the marks the file gets after every save.
constexpr std::uint32_t kSettingsFileAttributes = 0x26;

// The run directory followed by "/chat.ini", built anew at every call.
Text SettingsFilePath();

// The value of `key` in section "pz"; the empty text when the file, the section or the key
// is missing.
Text ReadSetting(std::string_view key);

// Writes `key`=`value` into section "pz", creating the file and the section when needed; an
// empty value keeps the key with an empty value. A failed write changes nothing and is not
// reported.
void WriteSetting(std::string_view key, std::string_view value);

// Marks the file hidden, system and archive, and nothing else (a read-only mark goes).
void HideSettingsFile();

}  // namespace tavelo
