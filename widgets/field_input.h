#pragma once
// The edit field of the tweak window and the timeline (FLTK): it tells typing from finishing. Its
// callback runs with every change, onFinish when the user presses Enter or leaves the field. The undo
// keys go on to the window, which hands them to the program (the field's own undo is not used).
// onFinish runs through the toolkit guard.
#include <FL/Fl.H>
#include <FL/Fl_Input.H>

#include <functional>

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y: the windows' undo and redo.
bool IsUndoKey();

class FieldInput : public Fl_Input {
 public:
  using Fl_Input::Fl_Input;
  std::function<void()> onFinish;
  int handle(int event) override;
};
