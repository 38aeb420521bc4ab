#include "media_view.h"

#include <filesystem>

#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr const char* kDefaultSite = "https://support.tarvo.example/";
constexpr const char* kDefaultBabadif = "https://support.tarvo.example/file/babadif.csv";

std::string setting(const std::string& settingsPath, const char* key, const char* fallback) {
    const std::string v = trimBoth(IniFile(settingsPath).read(kSupportSection, key));
    return v.empty() ? fallback : v;
}

void removeIfThere(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throwIoError("remove", path, ec.value());
}

}  // namespace

std::string noImagePath(const StorePaths& paths) { return paths.root() + "FK/no_image.bmp"; }

std::string silksPicture(const StorePaths& paths, std::string_view ownerCode) {
    if (const std::string own = trimBoth(ownerCode).empty() ? std::string() : paths.fk(ownerCode);
        !own.empty() && fileExists(own))
        return own;
    return fileExists(noImagePath(paths)) ? noImagePath(paths) : std::string();
}

void fetchAllSilks(const StorePaths& paths, JVDTLabLib_TLB::IJVLink& jvlink, const std::vector<std::string>& ownerCodes,
                   const std::function<void()>& after) {
    for (const std::string& code : ownerCodes) {
        if (toIntDef(trimBoth(code), 0) > 0) {
            const std::string file = paths.fk(code);
            const std::string description = trimBoth(getField(Family::BN, findOwner(paths, code), "Fukusyoku"));
            if (!file.empty() && jvlink.JVFukuFile(description, file) == -1) {
                const std::string shared = noImagePath(paths);
                if (!fileExists(shared) && fileExists(file)) {
                    std::error_code ec;
                    std::filesystem::rename(file, shared, ec);
                    if (ec) throwIoError("rename", file, ec.value());
                }
                removeIfThere(file);
            }
        }
        if (after) after();
    }
}

std::string pastRunVideoCaption(const StorePaths& paths, const RaceKey& race) {
    const std::string ra = findRace(paths, race);
    auto f = [&](const char* name) { return getField(Family::RA, ra, name); };
    std::string title = trimBoth(f("Ryakusyo6"));
    if (title.empty()) title = classNameShort(f("SyubetuCD"), f("JyokenCD5"), race.date());
    return sj("レース動画を再生 [") + race.date() + "." + trackName(race.jyoCD) + race.raceNum + "R." + title +
           sj("] (&R)");
}

std::string supportSiteUrl(const std::string& settingsPath) { return setting(settingsPath, "top", kDefaultSite); }
std::string babadifUrl(const std::string& settingsPath) { return setting(settingsPath, "babadif", kDefaultBabadif); }

bool isBabadifBody(std::string_view body) {
    const std::size_t width = layoutOf(Family::BB).lineLength - 2;
    int records = 0;
    bool sound = true;
    forEachLineOf(body, [&](std::string_view line) {
        if (line.empty()) return true;
        const std::string_view key = part(line, 0, 10);
        sound = line.size() == width && key.find_first_not_of("0123456789") == std::string_view::npos &&
                isCalendarDate(part(key, 0, 8));
        ++records;
        return sound;
    });
    return sound && records > 0;
}

std::string babadifDownloadedText(const std::string& path) {
    return sj("地方馬場データをダウンロードしました。") + "\r\n" + sj("保存先：[") + path + "]";
}

std::string babadifFailedText() {
    return sj("地方馬場データのダウンロードに失敗しました。") + "\r\n" + sj("インターネットの接続状態を確認してください。");
}

}  // namespace tarvo
