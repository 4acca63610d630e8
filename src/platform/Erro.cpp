#include "platform/Erro.h"

#include <QSqlError>
#include <cerrno>
#include <cstring>
#include <new>

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
    case RegistoApagado: return QStringLiteral("O registo já não existe: foi apagado depois de a tabela o ler");
    case RegistoAlterado: return QStringLiteral("O registo foi alterado depois de a tabela o ler");
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

namespace {

constexpr int SemCodigo = 3146;  // a database failure with no code of its own

QString comOriginal(const QString& razao, const QString& original)
{
    const QString o = original.trimmed();
    if (o.isEmpty() || o == razao)
        return razao;
    return razao + QStringLiteral(" [") + o + u']';
}

// SQLite's result codes: the primary code sits in the low byte of the extended one.
QString textoSqlite(int codigo)
{
    switch (codigo) {
    case 275: return QStringLiteral("Valor recusado pelas regras da tabela");    // CHECK
    case 787: return QStringLiteral("O registo está ligado a outro registo");    // FOREIGNKEY
    case 1299: return QStringLiteral("Falta um valor obrigatório");              // NOTNULL
    case 1555:                                                                   // PRIMARYKEY
    case 2067:                                                                   // UNIQUE
    case 2579: return QStringLiteral("Já existe um registo com o mesmo valor");  // ROWID
    case 3091: return QStringLiteral("Valor de tipo errado para o campo");       // DATATYPE
    case 6410:                                                                   // IOERR_GETTEMPPATH
        return QStringLiteral("Não há pasta onde a base de dados possa criar os seus ficheiros temporários");
    default: break;
    }
    switch (codigo & 0xff) {
    case 1: return QStringLiteral("Instrução recusada pela base de dados");
    case 2: return QStringLiteral("Falha interna do motor da base de dados");
    case 3: return QStringLiteral("Acesso negado à base de dados");
    case 4:
    case 9: return QStringLiteral("Operação interrompida");
    case 5: return QStringLiteral("A base de dados está ocupada por outro utilizador");
    case 6: return QStringLiteral("Uma tabela da base de dados está bloqueada");
    case 7: return QStringLiteral("Memória insuficiente");
    case 8: return QStringLiteral("A base de dados só pode ser lida");
    case 10: return QStringLiteral("Erro de leitura ou escrita no disco da base de dados");
    case 11: return QStringLiteral("O ficheiro da base de dados está danificado");
    case 13: return QStringLiteral("Não há espaço livre no disco da base de dados");
    case 14: return QStringLiteral("Não foi possível abrir o ficheiro da base de dados");
    case 15: return QStringLiteral("Falha no bloqueio do ficheiro da base de dados");
    case 17: return QStringLiteral("A estrutura da base de dados mudou");
    case 18: return QStringLiteral("Valor demasiado grande");
    case 19: return QStringLiteral("Valor recusado pelas regras da tabela");
    case 20: return QStringLiteral("Tipos incompatíveis");
    case 21: return QStringLiteral("Uso incorrecto da base de dados");
    case 22: return QStringLiteral("O ficheiro da base de dados é demasiado grande para o sistema");
    case 23: return QStringLiteral("Acesso não autorizado à base de dados");
    case 25: return QStringLiteral("Parâmetro fora dos limites");
    case 26: return QStringLiteral("O ficheiro não é uma base de dados");
    default: return QString();
    }
}

// The same failures met in the temporary storage, by the primary code.
QString textoTemporaria(int codigo)
{
    if (codigo == 6410)
        return textoSqlite(codigo);
    switch (codigo & 0xff) {
    case 10: return QStringLiteral("Erro de leitura ou escrita nos ficheiros temporários da base de dados");
    case 11: return QStringLiteral("Os ficheiros temporários da base de dados estão danificados");
    case 13: return QStringLiteral("Não há espaço livre na pasta temporária da base de dados");
    case 14: return QStringLiteral("Não foi possível criar um ficheiro temporário da base de dados");
    default: return QString();
    }
}

// A failure that only a write can give: FULL, CANTOPEN (a new temporary
// file), and the writing kinds of IOERR (WRITE, FSYNC, TRUNCATE, DELETE, GETTEMPPATH).
bool deEscrita(int codigo)
{
    switch (codigo) {
    case 778:
    case 1034:
    case 1546:
    case 2570:
    case 6410: return true;
    default: return (codigo & 0xff) == 13 || (codigo & 0xff) == 14;
    }
}

QString textoTipoSql(QSqlError::ErrorType tipo)
{
    switch (tipo) {
    case QSqlError::ConnectionError: return QStringLiteral("Não foi possível ligar à base de dados");
    case QSqlError::StatementError: return QStringLiteral("Instrução recusada pela base de dados");
    case QSqlError::TransactionError: return QStringLiteral("Falha numa transacção da base de dados");
    default: return QStringLiteral("Falha na base de dados");
    }
}

}  // namespace

QString razaoSql(const QSqlError& erro)
{
    bool ok = false;
    const int codigo = erro.nativeErrorCode().toInt(&ok);
    QString texto = ok ? textoSqlite(codigo) : QString();
    if (texto.isEmpty())
        texto = textoTipoSql(erro.type());
    return comOriginal(texto, erro.databaseText().isEmpty() ? erro.text() : erro.databaseText());
}

Erro naArmazenagemTemporaria(const Erro& erro, bool soTemporaria)
{
    if (!soTemporaria && !deEscrita(erro.numero))
        return erro;
    // The reason keeps the engine's own text after it.
    const QString disco = textoSqlite(erro.numero), temporaria = textoTemporaria(erro.numero);
    if (disco.isEmpty() || temporaria.isEmpty() || !erro.descricao.startsWith(disco))
        return erro;
    return Erro{erro.numero, temporaria + erro.descricao.mid(disco.size())};
}

Erro deSql(const QSqlError& erro)
{
    bool ok = false;
    int codigo = erro.nativeErrorCode().toInt(&ok);
    if (!ok)
        codigo = SemCodigo;
    return Erro{codigo, razaoSql(erro)};
}

void lancarSql(const QSqlError& erro)
{
    throw deSql(erro);
}

QString razaoSistema(int numeroErrno)
{
    QString texto;
    switch (numeroErrno) {
    case ENOSPC: texto = QStringLiteral("Não há espaço livre no disco"); break;
    case EDQUOT: texto = QStringLiteral("Foi excedida a quota de disco do utilizador"); break;
    case EFBIG: texto = QStringLiteral("O ficheiro excede o tamanho máximo permitido"); break;
    case EACCES:
    case EPERM: texto = QStringLiteral("Sem permissão para escrever"); break;
    case EROFS: texto = QStringLiteral("O disco só pode ser lido"); break;
    case ENOENT: texto = QStringLiteral("A pasta ou o ficheiro não existe"); break;
    case ENOTDIR: texto = QStringLiteral("Uma parte do caminho não é uma pasta"); break;
    case EISDIR: texto = QStringLiteral("Existe uma pasta com o nome do ficheiro"); break;
    case ENAMETOOLONG: texto = QStringLiteral("O caminho é demasiado comprido"); break;
    case EIO: texto = QStringLiteral("Erro de leitura ou escrita no disco"); break;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: texto = QStringLiteral("O ficheiro está a ser usado por outro programa"); break;
    case ENOLCK: texto = QStringLiteral("O sistema não conseguiu bloquear o ficheiro"); break;
    case EMFILE:
    case ENFILE: texto = QStringLiteral("Há demasiados ficheiros abertos"); break;
    case ENOMEM: texto = QStringLiteral("Memória insuficiente"); break;
    case ELOOP: texto = QStringLiteral("Há ligações simbólicas em ciclo no caminho"); break;
    case EXDEV: texto = QStringLiteral("O ficheiro e a sua cópia estão em discos diferentes"); break;
    case EOPNOTSUPP: texto = QStringLiteral("O sistema de ficheiros não permite esta operação"); break;
    case ECONNREFUSED:
    case EHOSTDOWN: texto = QStringLiteral("O servidor não está a funcionar"); break;
    case EHOSTUNREACH:
    case ENETUNREACH: texto = QStringLiteral("O servidor não está ao alcance da rede"); break;
    case ETIMEDOUT: texto = QStringLiteral("O servidor não respondeu a tempo"); break;
    case ECONNRESET:
    case EPIPE: texto = QStringLiteral("A ligação ao servidor foi cortada"); break;
    default: texto = QStringLiteral("Falha do sistema número %1").arg(numeroErrno); break;
    }
    return comOriginal(texto, QString::fromLocal8Bit(std::strerror(numeroErrno)));
}

QString razaoServico(const QString& nomeErro, const QString& mensagem)
{
    QString texto;
    if (nomeErro == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        texto = QStringLiteral("A sincronização automática da hora (NTP) está ligada");
    else if (nomeErro == QLatin1String("org.freedesktop.DBus.Error.AccessDenied")
             || nomeErro == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired")
             || nomeErro.startsWith(QLatin1String("org.freedesktop.PolicyKit1.Error")))
        texto = QStringLiteral("Sem permissão");
    else if (nomeErro == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
             || nomeErro == QLatin1String("org.freedesktop.DBus.Error.NoReply")
             || nomeErro == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        texto = QStringLiteral("O serviço do sistema não respondeu");
    else if (nomeErro == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs"))
        texto = QStringLiteral("Valor recusado pelo serviço do sistema");
    else
        texto = QStringLiteral("O serviço do sistema recusou o pedido");
    return comOriginal(texto, mensagem.isEmpty() ? nomeErro : mensagem);
}

QString razaoExcepcao(const std::exception& e)
{
    const QString texto = dynamic_cast<const std::bad_alloc*>(&e) ? QStringLiteral("Memória insuficiente")
                                                                  : QStringLiteral("Falha interna do programa");
    return comOriginal(texto, QString::fromLocal8Bit(e.what()));
}

}  // namespace Erros
