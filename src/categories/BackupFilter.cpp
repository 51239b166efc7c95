#include "categories/BackupFilter.h"
#include <algorithm>
#include <iterator>
#include "app/Environment.h"

namespace {

// The font files that Windows itself installs: never backed up.
const char* const kStockFonts[] = {
    "AKHBR.TTF", "AKHBRBD.TTF", "ANTQUAB.TTF", "ANTQUABI.TTF", "ANTQUAI.TTF", "ARABSQ.TTF",
    "ARBLI___.TTF", "ARBSQDTP.TTF", "ARIAL.TTF", "ARIALBD.TTF", "ARIALBI.TTF", "ARIALI.TTF", "ARIALN.TTF",
    "ARIALNB.TTF", "ARIALNBI.TTF", "ARIALNI.TTF", "ARIALUNI.TTF", "ARIBLK.TTF", "BATANG.TTF", "BKANT.TTF",
    "BLDITLAR.TTF", "BOOKOS.TTF", "BOOKOSB.TTF", "BOOKOSBI.TTF", "BOOKOSI.TTF", "BSSYM7.TTF", "CALIBRI.TTF",
    "CALIBRIB.TTF", "CALIBRII.TTF", "CALIBRIZ.TTF", "CAMBRIA.TTC", "CAMBRIAB.TTF", "CAMBRIAI.TTF",
    "CAMBRIAZ.TTF", "CANDARA.TTF", "CANDARAB.TTF", "CANDARAI.TTF", "CANDARAZ.TTF", "CENTURY.TTF", "COMIC.TTF",
    "COMICBD.TTF", "CONSOLA.TTF", "CONSOLAB.TTF", "CONSOLAI.TTF", "CONSOLAZ.TTF", "CONSTAN.TTF",
    "CONSTANB.TTF", "CONSTANI.TTF", "CONSTANZ.TTF", "CORBEL.TTF", "CORBELB.TTF", "CORBELI.TTF", "CORBELZ.TTF",
    "COUR.TTF", "COURBD.TTF", "COURBI.TTF", "COURI.TTF", "DIWANBNT.TTF", "DIWANLTR.TTF", "DI_ACE.TTF",
    "DTHULUTH.TTF", "DTNASKH0.TTF", "DTNASKH1.TTF", "DTNASKH2.TTF", "DTNASKH3.TTF", "DTNASKH4.TTF",
    "DWNOUTSH.TTF", "DWNSH2.TTF", "DWNSPOUT.TTF", "DWNSPSTR.TTF", "ESTRE.TTF", "FRAMD.TTF", "FRAMDIT.TTF",
    "FRSSPBL.TTF", "FRSSPOUT.TTF", "GARA.TTF", "GARABD.TTF", "GARAIT.TTF", "GAUTAMI.TTF", "GEORGIA.TTF",
    "GEORGIAB.TTF", "GEORGIAI.TTF", "GEORGIAZ.TTF", "GOTHIC.TTF", "GOTHICB.TTF", "GOTHICBI.TTF", "GOTHICI.TTF",
    "GP_ACE.TTF", "IMPACT.TTF", "ITLOUTAR.TTF", "KARTIKA.TTF", "KFEXTOUT.TTF", "KFOUTSHD.TTF", "KOUFIBD.TTF",
    "LATHA.TTF", "LEDITFNT.TTF", "LSANS.TTF", "LSANSD.TTF", "LSANSDI.TTF", "LSANSI.TTF", "LUCON.TTF",
    "L_10646.TTF", "MARLETT.TTF", "MANGAL.TTF", "MICROSS.TTF", "MSMINCHO.TTF", "MUDIR.TTF", "MVBOLI.TTF",
    "OLDANBLD.TTF", "OLDANDEC.TTF", "OLDANOUT.TTF", "OLDOUTSH.TTF", "OUTLOOK.TTF", "PALA.TTF", "PALAB.TTF",
    "PALABI.TTF", "PALAI.TTF", "PMINGLIU.TTF", "PTBLDARC.TTF", "PTBLDBRK.TTF", "PTBLDDSK.TTF", "PTBLDHAD.TTF",
    "PTBLDMRR.TTF", "PTBLSSTR.TTF", "PTSEPBAL.TTF", "RAAVI.TTF", "REFSAN.TTF", "REFSPCL.TTF", "SEGOEUI.TTF",
    "SEGOEUIB.TTF", "SEGOEUII.TTF", "SEGOEUIZ.TTF", "SHRUTI.TTF", "SIMSUN.TTF", "SPBLDJUT.TTF", "SPBLDRUL.TTF",
    "SPINDOUT.TTF", "SPINDSHD.TTF", "SPOUTPAT.TTF", "SYLFAEN.TTF", "SYMBOL.TTF", "TAHOMA.TTF", "TAHOMABD.TTF",
    "TIMES.TTF", "TIMESBD.TTF", "TIMESBI.TTF", "TIMESI.TTF", "TREBUC.TTF", "TREBUCBD.TTF", "TREBUCBI.TTF",
    "TREBUCIT.TTF", "TUNGA.TTF", "VERDANA.TTF", "VERDANAB.TTF", "VERDANAI.TTF", "VERDANAZ.TTF", "VRINDA.TTF",
    "WEBDINGS.TTF", "WINGDING.TTF", "WINGDNG2.TTF", "WINGDNG3.TTF",
};

// From the last "." of the file-name part to the end, dot included; empty without a dot.
std::string Extension(const std::string& path) {
    const size_t delimiter = LastDelimiter("\\:", path);
    const size_t nameStart = delimiter == std::string::npos ? 0 : delimiter + 1;
    const size_t dot = path.find_last_of('.');
    return (dot == std::string::npos || dot < nameStart) ? std::string() : path.substr(dot);
}

// A file inside the folder: the folder's path (less one trailing backslash) and a backslash
// begin the file's path. An empty folder text holds nothing.
bool Inside(const std::string& path, const std::string& folderText) {
    const std::string folder = ExcludeTrailingBackslash(folderText);
    if (folder.empty()) return false;
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '\\';
}

}  // namespace

bool IsStockFont(const std::string& upperFileName) {
    return std::any_of(std::begin(kStockFonts), std::end(kStockFonts),
                       [&](const char* stock) { return upperFileName == stock; });
}

bool KeepInBackup(const std::string& tag, const std::string& path, const std::string& fileName,
                  const MyDocumentsExclusions& exclusions) {
    if (tag == "[FONTS---]") {
        const std::string extension = Extension(path), upperExtension = UpperAscii(extension);
        return !IsStockFont(UpperAscii(fileName)) && upperExtension != ".FON" && upperExtension != ".COMPOSITEFONT" &&
               extension != ".ini";
    }
    if (tag == "[QULAUNCH]") return UpperAscii(fileName) != "DESKTOP.INI";
    if (tag == "[MYDOCS--]")
        return !Inside(path, exclusions.pictures) && !Inside(path, exclusions.music) && !Inside(path, exclusions.videos);
    if (tag == "[WAB-----]") return Extension(path) != ".ini";
    static const char* const kKeepAll[] = {"[DESKTOP-]", "[PICTURES]", "[MYMUSIC-]", "[MYVIDEOS]",
                                           "[SHAREDOC]", "[FAVORITE]", "[WINMAIL-]", "[THUNDER-]",
                                           "[OEXPRESS]", "[WINCAL--]", "[ADDDIR--]", "[FIREFOX-]"};
    return std::any_of(std::begin(kKeepAll), std::end(kKeepAll), [&](const char* t) { return tag == t; });
}
