// Waiting for the program's windows without sleeping blindly.
#pragma once
#include <windows.h>

#include <functional>

// Handles this thread's messages until done() holds; false after limitMs.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 20000);
