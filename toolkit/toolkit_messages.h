#pragma once

#include <windows.h>

// Private messages of the toolkit's forms.
inline constexpr UINT kApplicationEventMessage = WM_APP + 2;  // wParam: ApplicationEvent
inline constexpr UINT kOpenMenuBarItemMessage = WM_APP + 3;   // wParam: the item's command id
inline constexpr UINT kTimerTickRequestMessage = WM_APP + 4;  // wParam: the timer's id
// The main form's timer that looks for the release of the mouse before an
// activation event runs; far above the ids of the forms' own timers.
inline constexpr UINT_PTR kActivationAfterReleaseTimer = 0xA000;

enum class ApplicationEvent : WPARAM { activate, minimize, restore };
