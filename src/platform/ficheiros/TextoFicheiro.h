#pragma once

#include "platform/ficheiros/GravacaoFicheiro.h"

#include <QByteArray>

// The text of an open settings file, read whole or written whole (see
// GravacaoFicheiro.h).
namespace TextoFicheiro {

// The open file's text (`caminho` its path, for the words of a refusal), and
// what the file was when the reading began. A file larger than any settings
// file can be is not read at all.
GravacaoFicheiro::Leitura ler(int fd, const QByteArray& caminho);

// Writes `texto` over the file's own text from its start, cuts the file to
// its length and syncs it: 0, or the errno of the step that failed. A save's
// own text tells the tests each step (`comPassos`).
int escrever(int fd, const QByteArray& texto, bool comPassos = true);

}  // namespace TextoFicheiro
