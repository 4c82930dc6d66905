// What the test process holds of the system, counted from outside the program's own code: its
// windows (USER objects), its GDI objects, its kernel handles and, from the Linux side under
// Wine, its open file descriptors and its resident memory. A count that cannot be had is -1.
#pragma once

#include <string>

struct ProcessResources {
    long userObjects = -1;
    long gdiObjects = -1;
    long kernelHandles = -1;
    long fileDescriptors = -1;
    long residentKiB = -1;

    // Where each count came from; the system's own counters are preferred where they answer.
    std::string userSource;
    std::string gdiSource;
    std::string handleSource;
};

ProcessResources MeasureProcessResources();

// "user 31 (windows of the process), gdi 40 (...), ..." for a test's output.
std::string Describe(const ProcessResources& resources);
