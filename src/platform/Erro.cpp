#include "platform/Erro.h"

#include <QSqlError>

namespace Erros {

QString descricaoPadrao(int numero)
{
    switch (numero) {
    case Sobrecarga: return QStringLiteral("Sobrecarga");
    case TiposIncompativeis: return QStringLiteral("Tipos incompatíveis");
    case CampoPequeno:
        return QStringLiteral("O campo é demasiado pequeno para aceitar a quantidade de dados que tentou adicionar");
    case ItemNaoEncontrado: return QStringLiteral("Item não encontrado nesta colecção");
    case BaseDadosInvalida: return QStringLiteral("Formato de base de dados não reconhecido");
    case FicheiroNaoEncontrado: return QStringLiteral("Não foi possível encontrar o ficheiro da base de dados");
    default: return QString();
    }
}

void lancar(int numero, const QString& descricao)
{
    throw Erro{numero, descricao.isEmpty() ? descricaoPadrao(numero) : descricao};
}

void lancarSobrecarga()
{
    lancar(Sobrecarga);
}
void lancarTiposIncompativeis()
{
    lancar(TiposIncompativeis);
}
void lancarCampoEmFalta(const QString& campo)
{
    lancar(ItemNaoEncontrado, descricaoPadrao(ItemNaoEncontrado) + u' ' + campo);
}

Erro deSql(const QSqlError& erro)
{
    bool ok = false;
    int codigo = erro.nativeErrorCode().toInt(&ok);
    if (!ok)
        codigo = 3146;  // a database failure with no code of its own
    // SQLite's primary result code sits in the low byte of the extended one.
    QString texto;
    switch (codigo & 0xff) {
    case 5: texto = QStringLiteral("A base de dados está ocupada por outro utilizador"); break;
    case 8: texto = QStringLiteral("A base de dados só pode ser lida"); break;
    case 14: texto = QStringLiteral("Não foi possível abrir o ficheiro da base de dados"); break;
    case 19: texto = QStringLiteral("Valor recusado pelas regras da tabela"); break;
    case 26: texto = QStringLiteral("O ficheiro não é uma base de dados"); break;
    default: break;
    }
    const QString original = erro.databaseText().isEmpty() ? erro.text() : erro.databaseText();
    if (texto.isEmpty())
        texto = original;
    else if (!original.isEmpty())
        texto += QStringLiteral(": ") + original;
    return Erro{codigo, texto};
}

void lancarSql(const QSqlError& erro)
{
    throw deSql(erro);
}

}  // namespace Erros
