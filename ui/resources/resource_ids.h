// Resource numbers shared by the resource script and the program.
#pragma once

#define IDI_OPEN_BOOK 1
#define IDC_POINTING_HAND 101
