#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The one description of the weighings database: every table and field in its
// stored order and spelling. The empty database, the row writer's checks, the
// field readers' notion of a date and the grids' captions all come from here;
// no table or field name ever comes from typed input.

enum class TipoCampo {
    Contador,  // whole number given by the database, never reused
    Numero,    // 32-bit whole number
    Byte,      // 0 to 255
    Texto,     // text of at most `tamanho` characters
    Digitos,   // text of at most `tamanho` characters, digits only
    Memo,      // text of any length
    Data,      // date and time, stored as "yyyy-MM-dd HH:mm:ss"
};

struct Campo
{
    QString nome;
    TipoCampo tipo = TipoCampo::Texto;
    int tamanho = 0;
    QString legenda;  // the grid column's caption, where one is given
    bool chave = false;
    bool obrigatorio = false;  // NOT NULL with a default of 0 (document counters)

    bool eTexto() const { return tipo == TipoCampo::Texto || tipo == TipoCampo::Digitos || tipo == TipoCampo::Memo; }
    bool eInteiro() const
    {
        return tipo == TipoCampo::Contador || tipo == TipoCampo::Numero || tipo == TipoCampo::Byte;
    }
};

struct Tabela
{
    QString nome;
    QList<Campo> campos;

    // The field of that name, found without regard to letter case; nullptr when missing.
    const Campo* campo(const QString& nomeCampo) const;
    const Campo& chave() const;
    QStringList nomesCampos() const;
};

struct Indice
{
    QString nome;
    QString tabela;
    QStringList campos;
};

namespace Esquema {

// Table names as they are stored.
inline const QString Pesagens = QStringLiteral("Pesagens");
inline const QString Empresas = QStringLiteral("Empresas");
inline const QString Viaturas = QStringLiteral("Viaturas");
inline const QString Entidades = QStringLiteral("Entidades");
inline const QString Transportadores = QStringLiteral("Transportadores");
inline const QString Produtos = QStringLiteral("Produtos");
inline const QString LocaisCarga = QStringLiteral("Locais de carga");
inline const QString LocaisDescarga = QStringLiteral("Locais de descarga");
inline const QString Operadores = QStringLiteral("Operadores");

// Marks a station database, so a foreign SQLite file is never taken for one.
constexpr int IdAplicacao = 0x5A4D524C;  // "ZMRL"
constexpr int Versao = 1;

const QList<Tabela>& tabelas();
const QList<Indice>& indices();

// The index that orders Pesagens by that one field, or (`porTipo`) one kind's
// rows by it; nullptr for the key and for a field the table does not have.
const Indice* indiceOrdemGrelha(const QString& campo, bool porTipo);

// The table of that name (letter case ignored); nullptr when there is none.
const Tabela* tabela(const QString& nome);

// The vehicle code and plate and the ten party fields, the twelve fields that
// weighings and vehicles share in this order (the weighing screen's entry
// fields 0 to 11).
const QStringList& camposViaturaEPartes();

// True for the fields that hold a date and time.
bool eCampoData(const QString& nomeCampo);

// An identifier quoted for SQL: "Código da viatura".
QString citar(const QString& identificador);

// The statements that create the empty database's tables and indexes.
QStringList instrucoesCriacao();

}  // namespace Esquema
