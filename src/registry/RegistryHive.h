// The registry's root keys and where each one's store lives on disk: one file per hive in
// $TINTWELL_REGISTRY_DIR, else $XDG_CONFIG_HOME/corvane/registry, else ~/.config/corvane/registry, with the
// home folder from the password database when HOME is not set. A relative TINTWELL_REGISTRY_DIR is taken
// as it stands: the store refuses a hive whose path is not absolute rather than make one per working folder.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace registry {

// The Win32 handle values, so that a stored or logged root reads the same as on Windows.
enum class HKEY : std::uint32_t {
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
    CurrentConfig = 0x80000005,
};

inline constexpr HKEY HKEY_CLASSES_ROOT = HKEY::ClassesRoot;
inline constexpr HKEY HKEY_CURRENT_USER = HKEY::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::LocalMachine;
inline constexpr HKEY HKEY_USERS = HKEY::Users;
inline constexpr HKEY HKEY_CURRENT_CONFIG = HKEY::CurrentConfig;

// "HKEY_LOCAL_MACHINE" and the like.
QString hiveName(HKEY hive);
// Accepts the full names and the short forms HKLM, HKCU, HKCR, HKU and HKCC, in any case.
std::optional<HKEY> hiveFromName(const QString &name);

QString registryDirectory(); // empty when there is no home folder to put it in
QString hiveFilePath(HKEY hive);

} // namespace registry
