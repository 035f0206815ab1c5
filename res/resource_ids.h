#pragma once

// Resource ids of Tallykeep, shared by tallykeep.rc and the C++ code. Plain
// #defines only: windres reads this file too. Every id is unique.

// Icons. The application's icon has the lowest id, so Windows shows it for the
// executable.
#define IDI_TALLYKEEP 1
#define IDI_CONTROLBAR 2

// The control bar's button glyphs: 32 x 16, normal and disabled images side by
// side. Contiguous, SpeedButton1 first.
#define IDB_SPEEDBUTTON1 101
#define IDB_SPEEDBUTTON2 102
#define IDB_SPEEDBUTTON3 103
#define IDB_SPEEDBUTTON4 104
