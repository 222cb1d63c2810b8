// The fixture of the tests whose expected 8-bit bytes are those of the ANSI code page under Wine.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

namespace vendrak {

// Wine chooses the ANSI code page from the Unix locale, and tools/wine-run fixes LANG=en_US.UTF-8, which
// Wine maps to Windows-1252. The expected bytes are those of Windows-1252.
class AnsiCodePage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "run through tools/wine-run (LANG=en_US.UTF-8)"; }
};

} // namespace vendrak
