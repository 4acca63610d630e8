#pragma once

#include <QIcon>

// The picture of a bridge's zero button: a bold zero in a ring.
QIcon DesenharZero(int lado = 20);
