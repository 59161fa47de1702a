#pragma once
// The edit field of the tweak window and the timeline (FLTK): it tells typing from finishing. Its
// callback runs with every change, onFinish when the user presses Enter or leaves the field. The undo
// keys go on to the window, which undoes in the shared history (the field's own undo is not used).
// onFinish runs through the toolkit guard.
#include <FL/Fl.H>
#include <FL/Fl_Input.H>

#include <functional>

#include "engine/toolkit_guard.h"

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y: the windows' undo and redo.
inline bool IsUndoKey() {
  const int key = Fl::event_key();
  return (Fl::event_state() & FL_CTRL) && (key == 'z' || key == 'y');
}

class FieldInput : public Fl_Input {
 public:
  using Fl_Input::Fl_Input;
  std::function<void()> onFinish;
  int handle(int event) override {
    if (event == FL_KEYBOARD && IsUndoKey()) return 0;
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
      if (onFinish) FromToolkit(onFinish);
      return 1;
    }
    const int used = Fl_Input::handle(event);
    if (event == FL_UNFOCUS && onFinish) FromToolkit(onFinish);
    return used;
  }
};
