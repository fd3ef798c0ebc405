// Resource identifiers shared by corvane.rc and the code that loads them.
#pragma once

// The program's main icon; the lowest id, so the shell shows it for the exe.
#define IDI_MAINICON 1
