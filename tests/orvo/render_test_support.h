#pragma once

// Helpers of the pixel tests: GDI+ start-up, paths of the built skin set and of the golden
// images, PNG writing and a golden comparison that leaves the actual picture and a diff
// beside the test when they differ.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "orvo/render.h"

namespace RenderTest {

// Windows path of a folder of this build (the tree lives on Wine's Z: drive).
std::wstring WindowsPath(const char* unixPath);
// The skin folder the build renders: <output>\skins\theme1\.
std::wstring SkinFolder();
// tests\data\orvo\<name> in the source tree.
std::wstring GoldenPath(const wchar_t* name);

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path);
// A copy of the canvas as an opaque 32-bit bitmap (GDI leaves alpha 0 where it draws).
std::unique_ptr<Gdiplus::Bitmap> CanvasToBitmap(const Orvo::MemoryCanvas& canvas);

// Compares the canvas with tests\data\orvo\<name>: every pixel's red, green and blue within
// `tolerance`. On a difference (or a missing golden) writes <name>.actual.png and
// <name>.diff.png in the working folder and returns a message; empty when equal. With
// TAVIK_UPDATE_GOLDEN=1 in the environment the golden is (re)written instead.
std::string CompareWithGolden(const Orvo::MemoryCanvas& canvas, const wchar_t* name, int tolerance);

// Pixels inside rect whose colour differs from `background` by more than 60 in a channel.
int CountInk(const Orvo::MemoryCanvas& canvas, const RECT& rect, Orvo::Argb background);

}  // namespace RenderTest
