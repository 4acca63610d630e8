#pragma once

// Key codes as the station's key routines take them: the classic character
// codes of a key press (Backspace, Enter, Esc) and the classic virtual-key
// numbers of a key down.
namespace Tecla {
constexpr int Retrocesso = 8;
constexpr int Enter = 13;
constexpr int Esc = 27;
constexpr int PgUp = 33, PgDn = 34, End = 35, Home = 36;
constexpr int Esquerda = 37, Cima = 38, Direita = 39, Baixo = 40;
constexpr int F1 = 112, F2 = 113, F4 = 115;
}  // namespace Tecla
