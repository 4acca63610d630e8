#pragma once

#include <QPixmap>

// The pictures of a bridge ready to be weighed: a lorry seen from the side,
// its cab to the right for a first weighing (img1) and to the left for a
// second (img2).
QPixmap DesenharCamiao(bool cabinaADireita, int largura = 64, int altura = 32);
