// Builds the program's three windows in this process, with a settings file and language files
// written beside the test exe (the program folder), and drives them like a user.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "TestSupport.h"
#include "app/Form1.h"
#include "app/Form2.h"
#include "app/Form3.h"

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows; FormCreate runs inside.
    void Start();
    std::string SettingsPath() const;
    void WriteSettings(const std::string& text);
    std::string Setting(const std::string& key) const;
    // Writes a language file (path relative to the language folder).
    void WriteLanguage(const std::string& relativePath, const std::string& text);

    // What a user does.
    static void Click(ui::Control& control);
    static void Type(ui::Edit& edit, const std::string& text);

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    test::RecordingAnswerer dialogs;
};
