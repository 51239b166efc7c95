// The about window in the languages the program ships, read from their real files, in the
// window's own labels and font.
#include "MainWindowFixture.h"
#include "ui/MessagePump.h"

namespace {

class AboutWindowTest : public MainWindowTest {
protected:
    // Starts with the program's own language file and opens the about window.
    void OpenIn(const std::string& language) {
        const std::string file = test::ReadFile(test::ExeFolder() + "\\app\\language\\" + language + ".ini");
        ASSERT_FALSE(file.empty()) << language;
        WriteLanguage(language + ".ini", file);
        WriteSettings("[CONFIG]\r\nLastLanguage=" + language + "\r\n");
        Start();
        form1->Image28DblClick();
        ui::PumpMessages();
    }
};

// Whether a label shows its whole text: measured with the label's font, wrapped at its width
// when it wraps.
testing::AssertionResult Fits(const ui::Label& label) {
    RECT client{};
    GetClientRect(label.hwnd(), &client);
    const bool wraps = (GetWindowLongA(label.hwnd(), GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
    const std::string text = label.Text();
    RECT needed{0, 0, client.right, 0};
    HDC dc = GetDC(label.hwnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label.hwnd(), WM_GETFONT, 0, 0)));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(label.hwnd(), dc);
    if (needed.right <= client.right && needed.bottom <= client.bottom) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\"" << text << "\" needs " << needed.right << "x" << needed.bottom
                                       << ", the label has " << client.right << "x" << client.bottom;
}

// The library notice, the line before the link, the link and the translator line: as given, and
// each whole in its label.
void ExpectAboutTexts(const TForm3& about, const std::string& notice, const std::string& obtain,
                      const std::string& translator) {
    EXPECT_EQ(notice, about.Label3.Text());
    EXPECT_EQ(obtain, about.Label5.Text());
    EXPECT_EQ("https://libjpeg-turbo.org/", about.Label6.Text());
    EXPECT_EQ(translator, about.Label7.Text());
    for (const ui::Label* label : {&about.Label3, &about.Label5, &about.Label6, &about.Label7})
        EXPECT_TRUE(Fits(*label));
}

TEST_F(AboutWindowTest, EnglishNamesLibjpegTurboWithTheIjgAttributionAndItsWebPage) {
    ASSERT_NO_FATAL_FAILURE(OpenIn("English"));
    ExpectAboutTexts(*form3,
                     "This program uses libjpeg-turbo. This software is based in part on the work of the "
                     "Independent JPEG Group.",
                     "libjpeg-turbo can be obtained from :", "Translated by : (original English text)");
}

// The French file is Windows-1252: its accents come through the ANSI functions as single bytes.
TEST_F(AboutWindowTest, FrenchSaysTheSameAndNamesTheProgramsTeamAsTranslator) {
    ASSERT_NO_FATAL_FAILURE(OpenIn("French"));
    ExpectAboutTexts(*form3,
                     "Ce programme utilise libjpeg-turbo. Ce logiciel est bas\xE9 en partie sur les travaux de "
                     "l'Independent JPEG Group.",
                     "libjpeg-turbo peut \xEAtre obtenue sur :", "Traduit par : L'\xE9quipe Halvorkeep3");
}

}  // namespace
