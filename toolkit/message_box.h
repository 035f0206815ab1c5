#pragma once

#include <string>

// How a message box with the single button "OK" was closed.
enum class BoxResult { ok, closedByCloseBox };

// The toolkit's standard error caption.
inline constexpr char kErrorCaption[] = "エラー";

// A message box of the error type: the caption "エラー", an error icon and the
// single button "OK", owned by the main form. The thread's messages go on being
// handled while it is open, the program's events included (EventGate): a
// handler opens it only where its own work is complete. Returns ok for the OK
// button (and Enter, Space or Escape, which press it) and closedByCloseBox for
// the close box (or Alt+F4).
BoxResult errorMessageBox(const std::string& text);

// A question with the buttons はい and いいえ (いいえ the default, so that Enter
// changes nothing), owned by the main form; true for はい. The program's events
// go on as with the error box.
bool askYesNo(const std::string& text, const std::string& caption);

// A message box that tells something: the application's title, an
// information icon and "OK", owned by the main form; events go on as in the
// error type's box.
void informationMessageBox(const std::string& text);
