// The fourteen categories with a path edit, for the tests of detection and of the path checks:
// the edit, its check box, its wrong mark and the test its change handler applies (the address
// book's as on "2K-XP").
#pragma once
#include <vector>
#include "app/Form1.h"
#include "categories/PathChecks.h"

struct PathCategory {
    const char* name;
    ui::PathEdit& edit;
    ui::CheckBox& box;
    ui::Picture& wrong;
    PathTest test;
};

inline std::vector<PathCategory> PathCategories(TForm1& f) {
    const PathTest folder = PathTest::Folder, file = PathTest::File;
    return {{"MyDocuments", f.MyDocumentsPath, f.MyDocuments, f.MyDocumentsWrong, folder},
            {"Desktop", f.DesktopPath, f.Desktop, f.DesktopWrong, folder},
            {"Quicklaunch", f.QuickLaunchPath, f.Quicklaunch, f.QuicklaunchWrong, folder},
            {"MyPictures", f.MyPicturesPath, f.MyPictures, f.MyPicturesWrong, folder},
            {"MyMusic", f.MyMusicPath, f.MyMusic, f.MyMusicWrong, folder},
            {"MyVideos", f.MyVideosPath, f.MyVideos, f.MyVideosWrong, folder},
            {"IEFavorites", f.IEFavoritesPath, f.IEFavorites, f.IEFavoritesWrong, folder},
            {"OutlookNk2", f.OutlookNK2Path, f.OutlookNk2, f.OutlookNk2Wrong, file},
            {"WindowsMail", f.WindowsMailPath, f.WindowsMail, f.WindowsMailWrong, folder},
            {"Wab", f.WabPath, f.Wab, f.WabWrong, file},
            {"SharedDocuments", f.SharedDocumentsPath, f.SharedDocuments, f.SharedDocumentsWrong, folder},
            {"WindowsCalendar", f.WindowsCalendarPath, f.WindowsCalendar, f.WindowsCalendarWrong, folder},
            {"Fonts", f.FontsPath, f.Fonts, f.FontsWrong, folder},
            {"Rasphone", f.RasPhonePath, f.Rasphone, f.RasphoneWrong, file}};
}
