#include "records/settings_save.h"

#include "common/app_error.h"

namespace {

[[noreturn]] void refuse(const std::string& iniPath) { throw AppError(iniPath + " に書き込めません"); }

// Without an atomic replace: the old file is set aside, the new one renamed
// into its place, then the old one deleted. A crash in between leaves the old
// file set aside and the new one whole, and recoverSettingsFile puts the old
// one back.
void replaceInSteps(SettingsFiles& files, const std::string& fresh, const std::string& iniPath) {
    const std::string aside = oldSettingsCopyPath(iniPath);
    if (!files.remove(aside)) refuse(iniPath);
    const bool hadOld = files.exists(iniPath);
    if (hadOld && !files.rename(iniPath, aside)) refuse(iniPath);
    if (!files.rename(fresh, iniPath)) {
        if (hadOld) files.rename(aside, iniPath);
        refuse(iniPath);
    }
    // A copy left here is only stale: the next save deletes it first.
    files.remove(aside);
}

void writeAndReplace(SettingsFiles& files, const Settings& settings, const std::string& iniPath,
                     const std::string& fresh) {
    // Only a file that is certainly missing is started afresh: a file that
    // merely could not be looked at keeps its keys written by hand.
    switch (files.copy(iniPath, fresh)) {
        case SettingsFiles::Copy::done:
            break;
        case SettingsFiles::Copy::noSource:
            if (!files.remove(fresh)) refuse(iniPath);  // left by a save that was cut off
            break;
        case SettingsFiles::Copy::failed:
            refuse(iniPath);
    }
    {
        const std::unique_ptr<ProfileStore> store = files.openProfile(fresh);
        writeSettings(*store, settings, iniPath);
    }
    if (!files.flushToDisk(fresh)) refuse(iniPath);
    switch (files.replace(fresh, iniPath)) {
        case SettingsFiles::Replace::done:
            return;
        case SettingsFiles::Replace::unsupported:
            replaceInSteps(files, fresh, iniPath);
            return;
        case SettingsFiles::Replace::failed:
            break;
    }
    refuse(iniPath);
}

}  // namespace

std::string newSettingsCopyPath(const std::string& iniPath) { return iniPath + ".new"; }

std::string oldSettingsCopyPath(const std::string& iniPath) { return iniPath + ".old"; }

void saveSettingsFile(SettingsFiles& files, const Settings& settings, const std::string& iniPath) {
    const std::string fresh = newSettingsCopyPath(iniPath);
    try {
        writeAndReplace(files, settings, iniPath, fresh);
    } catch (...) {
        files.remove(fresh);
        throw;
    }
}

void recoverSettingsFile(SettingsFiles& files, const std::string& iniPath) {
    const std::string aside = oldSettingsCopyPath(iniPath);
    if (!files.exists(iniPath) && files.exists(aside)) files.rename(aside, iniPath);
}
