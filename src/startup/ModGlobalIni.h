#pragma once

#include "platform/ficheiros/FicheiroPerfil.h"
#include "shared/Definicoes.h"

#include <QStringList>

// The settings-file operations: one key read with its default, or written.
// A missing key gives the default; a key present with an empty value gives 0
// for a number, "" for a text and the default for a Boolean. Numbers are read
// leniently ("60 000" is 60000, "2.5" is 2) and a number beyond the type's
// range throws Erro 6. A Boolean is "True" or "False", letter case significant.
namespace ModGlobal {

bool LerIniBool(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, bool Defeito);
qint16 LerIniInt(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint16 Defeito);
qint32 LerIniLong(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint32 Defeito);
QString LerIniTexto(const FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, const QString& Defeito);

// Each returns false when the system refused the write; most callers ignore it.
bool GravarIniBool(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, bool Valor);
bool GravarIniInt(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint16 Valor);
bool GravarIniLong(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, qint32 Valor);
bool GravarIniTexto(FicheiroPerfil& ini, const QString& Seccao, const QString& Chave, const QString& Valor);

// Keys gathered in the file's form, as the routines above write them, for
// FicheiroPerfil::escrever to put them in one replacement of the file.
struct ChavesIni
{
    QList<FicheiroPerfil::Escrita> escritas;
    void texto(const QString& Seccao, const QString& Chave, const QString& Valor);
    void booleano(const QString& Seccao, const QString& Chave, bool Valor);
    void numero(const QString& Seccao, const QString& Chave, qint32 Valor);
};

// Fills the record from the file, key by key in the start-up order (58 keys).
// A number that does not fit its type takes the key's default and affects
// nothing else; the "Seccao/Chave" of each such value is returned.
QStringList LerDefinicoes(const FicheiroPerfil& ini, const QString& pastaPrograma, Definicoes& d);

// Puts every device and general setting back to its factory value, in memory
// and in the file (54 keys, in one replacement of the file). Returns the
// number of keys not written: all of them when the system refused the file.
int ValoresPorDefeito(FicheiroPerfil& ini, const QString& pastaPrograma, Definicoes& d);

// The path of a file in the program's folder.
QString NaPastaPrograma(const QString& pastaPrograma, const QString& nome);

}  // namespace ModGlobal
