#include "widgets/field_input.h"

#include "engine/toolkit_guard.h"

bool IsUndoKey() {
  const int key = Fl::event_key();
  return (Fl::event_state() & FL_CTRL) && (key == 'z' || key == 'y');
}

int FieldInput::handle(int event) {
  if (event == FL_KEYBOARD && IsUndoKey()) return 0;
  if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
    if (onFinish) FromToolkit(onFinish);
    return 1;
  }
  const int used = Fl_Input::handle(event);
  if (event == FL_UNFOCUS && onFinish) FromToolkit(onFinish);
  return used;
}
