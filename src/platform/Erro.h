#pragma once

#include <QString>
#include <exception>

class QSqlError;

// A run-time failure with the number and description the operator sees in the
// error boxes ("Erro " and the number as the title). Our own layers throw it;
// the step helper catches it, so it never crosses a Qt slot.
struct Erro
{
    int numero = 0;
    QString descricao;
};

namespace Erros {
constexpr int Sobrecarga = 6;                // a value out of its type's range
constexpr int TiposIncompativeis = 13;       // a value that is not of the expected type
constexpr int CampoPequeno = 3163;           // a text longer than its field
constexpr int ItemNaoEncontrado = 3265;      // a field name the row does not have
constexpr int BaseDadosInvalida = 3343;      // a file that is not a station database
constexpr int FicheiroNaoEncontrado = 3024;  // a database file that does not exist
constexpr int RegistoApagado = 3167;         // a row deleted since a table read it
constexpr int RegistoAlterado = 3197;        // a row changed since a table read it

[[noreturn]] void lancar(int numero, const QString& descricao = {});
[[noreturn]] void lancarSobrecarga();
[[noreturn]] void lancarTiposIncompativeis();
// 3265 for a field name the row or table does not have, naming it.
[[noreturn]] void lancarCampoEmFalta(const QString& campo);

// The failure of a database statement, with SQLite's result code as its number
// and razaoSql as its description.
Erro deSql(const QSqlError& erro);
[[noreturn]] void lancarSql(const QSqlError& erro);

// The reasons that the database engine, Qt or the system give, in Portuguese
// words for the operator's boxes. Every such reason that reaches a box goes
// through one of these. The original text, when there is one, follows in
// brackets for the technician: "Não há espaço livre no disco [No space left on device]".

// A database failure, by SQLite's extended result code, else by the kind of failure.
QString razaoSql(const QSqlError& erro);
// The failure `erro` (from deSql) of a connection that writes nothing but the
// database's temporary storage (its temporary tables and the files of its
// sorts, in the system's temporary folder): SQLite's code does not say which
// file failed, the connection does. A full disk, a failed write or a file
// that cannot be made is that storage's, not the database file's; with
// `soTemporaria`, the statement read nothing else either, so a failed read or
// a damaged page is that storage's too. Any other failure is given back as it is.
Erro naArmazenagemTemporaria(const Erro& erro, bool soTemporaria);
// A refusal of the system, by its errno.
QString razaoSistema(int numeroErrno);
// A refusal of a system service over D-Bus, by the error's name.
QString razaoServico(const QString& nomeErro, const QString& mensagem);
// A failure inside the program's own libraries (an exception that is not an Erro).
QString razaoExcepcao(const std::exception& e);

// The standard description of a number, where it has one.
QString descricaoPadrao(int numero);
}  // namespace Erros
