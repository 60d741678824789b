// The size of Demo's window, which the program never changes.
#pragma once

constexpr int gWindowWidth = 1024;
constexpr int gWindowHeight = 768;
