#pragma once

#include <windows.h>

// Private messages of the toolkit's forms.
inline constexpr UINT kApplicationEventMessage = WM_APP + 2;  // wParam: ApplicationEvent

enum class ApplicationEvent : WPARAM { activate, minimize, restore };
