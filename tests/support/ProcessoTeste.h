#pragma once

#include <csignal>

class QProcess;

// A program a test starts (the device simulator) ends with the test: when the
// test process goes away, by a failed check, a crash or CTest's time-out, the
// program is sent `sinal` (SIGTERM; SIGKILL for one the test may leave
// stopped) and leaves nothing behind. Call before start().
void terminarComOTeste(QProcess& processo, int sinal = SIGTERM);
