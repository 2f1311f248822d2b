#pragma once

// A calendar moment in local time, as the program shows and stores it.
struct TDateTime {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

TDateTime Now();
