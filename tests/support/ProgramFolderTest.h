// A case that drives the real Halvorkeep3.exe of the program folder beside the test (app\), which
// holds no settings file when the case starts, nor once it ends.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "ProgramDriver.h"
#include "TestSupport.h"

namespace test {

class ProgramFolderTest : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(Ini().c_str()); }
    void TearDown() override {
        program_.reset();
        DeleteFileA(Ini().c_str());
    }
    static std::string App() { return ExeFolder() + "\\app"; }
    static std::string Ini() { return App() + "\\Halvorkeep.ini"; }

    // Starts the program and waits for its main window; fatal when it does not come.
    void StartProgram() {
        program_ = std::make_unique<drive::Program>(App() + "\\Halvorkeep3.exe");
        ASSERT_EQ(program_->Start(20000), "");
    }
    // A control of the main window; a missing one fails the case.
    HWND Control(int id) const {
        HWND w = program_->Control(id);
        EXPECT_TRUE(w) << "no control " << id << " in the main window";
        return w;
    }

    std::unique_ptr<drive::Program> program_;
};

}  // namespace test
