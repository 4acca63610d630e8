#pragma once

#include <QString>

class DestinoRelatorios;
class QPagedPaintDevice;

// Lays the document `html` out on the device's pages, as the station lays
// its documents out, all its pages once per copy; false when the device
// cannot be painted on.
bool pintarDocumento(const QString& html, QPagedPaintDevice& dispositivo, int copias);

// Prints `copias` copies of the document `nome` on the station's page, where
// the destination's print runs go (a new PDF in `pastaPdf` when the machine
// has no printer). Returns an EstadoRelatorio; why it failed goes into `motivo`.
int imprimirDocumento(DestinoRelatorios& destino, const QString& html, bool paisagem, const QString& nome, int copias,
                      const QString& pastaPdf, QString& motivo);
