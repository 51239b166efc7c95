// The main window with the job panel started, a backup set made by hand in a scratch folder as
// the backup writes one, and the restore pages' lists filled the way the choice of that set
// fills them.
#pragma once
#include <string>
#include <vector>
#include "MainWindowFixture.h"

class RestoreJobTest : public MainWindowTest {
protected:
    void SetUp() override;

    // The set's root and a path inside it.
    std::string Set() const { return scratch / "Set"; }
    std::string InSet(const std::string& relative) const { return Set() + "\\" + relative; }
    // A file of the set (bytes as given); returns its full path.
    std::string SetFile(const std::string& relative, const std::string& bytes);
    // A profile of the set: its section in the browser's Profiles.ini (From, and To on drive C),
    // and its items in the restore page's lists.
    void AddProfile(bool firefox, const std::string& name, const std::string& from, bool checked = true);
    // An extra file or folder: FROM and SAVED under the next number, and its item in the list.
    void AddExtraFile(const std::string& from, const std::string& saved);
    void AddExtraFolder(const std::string& from, const std::string& saved);
    // tag + path appended to RestoreCopyList.
    void List(const std::string& tag, const std::string& path);

    // The text log as "I message", "W message", "E message".
    std::vector<std::string> Messages() const;
    // A folder of the user's profile replaced by an empty one for the test.
    std::string FreshUserFolder(const std::string& path);

    test::ScratchFolder scratch{"RestoreJob"};
    test::Seed seed;
};

// The message part of a dated log line.
std::string MessageOf(const std::string& line);
