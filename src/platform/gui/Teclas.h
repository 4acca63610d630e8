#pragma once

class QKeyEvent;

// A key pressed, as the windows' key routines take it (the codes of
// shared/Tecla.h): the classic character of a key press and key code of a
// key down.
namespace Teclas {

bool eEnter(const QKeyEvent* e);  // Return or the keypad's Enter

// The character a key types: Enter (either key) 13, Esc 27, Backspace 8, Ctrl
// with a letter its control code (Ctrl+V 22), any other key its printable
// character. 0 for a key that types none: arrows, F-keys, Delete, Tab, Ctrl
// with any other key, and any key held with Alt or Meta (an access key,
// which never types).
int caracter(const QKeyEvent* e);

// Ctrl held with a letter: the key types its control code above.
bool controlo(const QKeyEvent* e);

// A key a Qt box would type although it types no character above (Alt or
// Meta with a key no menu or button took): the view drops it.
bool soAcesso(const QKeyEvent* e);

// The key code of the key-down routines (Tecla::PgUp, Tecla::Baixo, Tecla::F2
// ...); 0 for a key they never look at.
int codigo(const QKeyEvent* e);
// Their Shift argument: 1 Shift, 2 Ctrl, 4 Alt, added.
int estadoShift(const QKeyEvent* e);

}  // namespace Teclas
