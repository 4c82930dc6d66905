// A test's own application with the main window created from its design, a clock the test sets
// and message boxes that only record.
#pragma once

#include "TestDoubles.h"
#include "Unit1.h"
#include "forms/Application.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

class Form1Fixture : public ::testing::Test {
protected:
    FakeClock clock;
    RecordingMessageBoxes boxes;

    // Creates the application and Form1, as the entry does before running the loop.
    void CreateForm1();
    // The six fields' texts, year first.
    std::array<std::wstring, 6> Fields() const;
    TEdit* Field(int index) const;

    ~Form1Fixture() override;

private:
    ScopedClock useClock_{clock};
    ScopedMessageBoxes useBoxes_{boxes};

protected:
    forms::TApplication application;
};

// Reaches TForm1's private display method.
struct TForm1TestAccess {
    static void ShowDateTime(TForm1& form, rtl::TDateTime value) { form.ShowDateTime(value); }
};
