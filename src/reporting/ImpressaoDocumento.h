#pragma once

#include <QString>
#include <functional>

class DestinoRelatorios;
class QPagedPaintDevice;

// Lays the document `html` out on the device's pages, as the station lays
// its documents out, all its pages once per copy; false when the device
// cannot be painted on.
bool pintarDocumento(const QString& html, QPagedPaintDevice& dispositivo, int copias);

// Prints `copias` copies of the document `nome` on the station's page, where
// the destination's print runs go (a new PDF in `pastaPdf` when the machine
// has no print system). Its pages are made here; a PDF is written here too.
// Returns an EstadoRelatorio, and why it failed goes into `motivo`; EmCurso
// when the pages went on to the printer, whose answer comes later, in the
// station's thread, to `depois` (the status and why it failed).
int imprimirDocumento(DestinoRelatorios& destino, const QString& html, bool paisagem, const QString& nome, int copias,
                      const QString& pastaPdf, QString& motivo,
                      const std::function<void(int estado, const QString& motivo)>& depois);
