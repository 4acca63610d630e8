#include "records/PesagemAutomatica.h"

#include "shared/Tecla.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"
#include "records/Diario.h"
#include "records/DocumentosPesagem.h"
#include "records/EcraGravacao.h"
#include "records/LinhaPesagem.h"
#include "shared/Esquema.h"
#include "shared/EstadoBascula.h"

#include <QSqlRecord>
#include <cstdlib>

namespace {

const QString Automatico = QStringLiteral("Automático");

// The row a weighing was recorded in, and the kind it was given.
struct Registo
{
    qint64 pesagem = 0;
    QString tipo;
};

QString citar(const char* nome)
{
    return Esquema::citar(QString::fromUtf8(nome));
}

// The four fields of one weighing: weight, origin, date and time.
void definirPesagem(EscritorLinha& linha, const QString& qual, qint64 peso, const QString& marca,
                    const QDateTime& momento)
{
    linha.definir(QStringLiteral("Peso á ") + qual, peso);
    linha.definir(QStringLiteral("Báscula de ") + qual, marca);
    linha.definir(QStringLiteral("Data de ") + qual, momento);
    linha.definir(QStringLiteral("Hora de ") + qual, LinhaPesagem::hora(momento));
}
const QString Entrada = QStringLiteral("entrada");
const QString Saida = QStringLiteral("saída");

// Records the weighing of `codigo` in one transaction.
Registo registar(Estacao& estacao, const QString& codigo, qint32 peso, const QString& marca)
{
    const QSqlDatabase db = estacao.bd();
    const QDateTime agora = estacao.relogio.agora();
    Consulta::Transaccao transaccao(db);
    EscritorLinha linha(db, Esquema::Pesagens, estacao.relogio);
    Registo r;

    QSqlQuery q =
        Consulta::executar(db,
                           QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ? AND %5 = 'P' ORDER BY %1 LIMIT 1")
                               .arg(citar("Pesagem"), citar("Peso á entrada"), Esquema::citar(Esquema::Pesagens),
                                    citar("Código da viatura"), citar("Tipo de pesagem")),
                           {codigo});
    if (q.next()) {
        // The vehicle's pending first weighing is closed as a Talão, without a number.
        const QSqlRecord pendente = q.record();
        q.finish();
        r = {pendente.value(0).toLongLong(), QStringLiteral("T")};
        const qint64 entrada = ModGlobal::LerCampoLong(pendente, QStringLiteral("Peso á entrada"));
        linha.definir(QStringLiteral("Tipo de pesagem"), r.tipo);
        definirPesagem(linha, Saida, peso, marca, agora);
        linha.definir(QStringLiteral("Peso líquido"), std::llabs(peso - entrada));
        linha.definir(QStringLiteral("Operador"), Automatico);
        linha.actualizar(r.pesagem);
        transaccao.confirmar();
        return r;
    }
    q.finish();

    q = Consulta::executar(db,
                           QStringLiteral("SELECT * FROM %1 WHERE %2 = ? LIMIT 1")
                               .arg(Esquema::citar(Esquema::Viaturas), citar("Código da viatura")),
                           {codigo});
    if (q.next()) {
        const QSqlRecord viatura = q.record();
        q.finish();
        for (const QString& campo : Esquema::camposViaturaEPartes())
            linha.definir(campo, ModGlobal::LerCampoTexto(viatura, campo));
        linha.definir(QStringLiteral("Operador"), Automatico);
        if (estacao.Def.DuasPesagens) {
            r.tipo = QStringLiteral("P");
            linha.definir(QStringLiteral("Tipo de pesagem"), r.tipo);
            definirPesagem(linha, Entrada, peso, marca, agora);
        } else {
            // One weighing against the stored tare, dated when the tare was stored.
            const qint64 tara = ModGlobal::LerCampoLong(viatura, QStringLiteral("Peso de tara"));
            const QDateTime dataTara = ModGlobal::LerCampoData(viatura, QStringLiteral("Data"), estacao.relogio);
            r.tipo = QStringLiteral("T");
            linha.definir(QStringLiteral("Tipo de pesagem"), r.tipo);
            definirPesagem(linha, Entrada, tara, QStringLiteral("FV"), dataTara);
            definirPesagem(linha, Saida, peso, marca, agora);
            linha.definir(QStringLiteral("Peso líquido"), std::llabs(peso - tara));
        }
    } else {
        // A code not on file: the code and the entry weighing only, no operator.
        q.finish();
        r.tipo = QStringLiteral("P");
        linha.definir(QStringLiteral("Tipo de pesagem"), r.tipo);
        linha.definir(QStringLiteral("Código da viatura"), codigo);
        definirPesagem(linha, Entrada, peso, marca, agora);
    }
    r.pesagem = linha.inserir();
    transaccao.confirmar();
    return r;
}

}  // namespace

void PesagemAutomatica(Estacao& estacao, EcraGravacao& ecra, EstadoBascula& bascula, int Index)
{
    const QString codigo = bascula.CodigoCartao;

    // An operator at the idle screen: the card is typed in for them.
    if (estacao.Acesso.NivelAcesso >= 2 && ecra.ModoPesagem().isEmpty()) {
        bascula.UltimoCartao = codigo;
        ecra.setTxt(Txt::CodigoViatura, codigo);
        int tecla = Tecla::Enter;
        ecra.txt_KeyPress(Txt::CodigoViatura, tecla);
        return;
    }

    if (codigo.trimmed().isEmpty())
        return;
    bascula.UltimoCartao = codigo;
    bascula.CapturarPeso = true;

    const QString marca = QStringLiteral("A") + QString::number(Index + 1);
    Registo r;
    Erro erro;
    if (!PassoSilencioso([&] { r = registar(estacao, codigo, bascula.PesoActual, marca); }, &erro)) {
        // Never the previous weighing's number, and no document for a row not stored.
        estacao.UltimaPesagem = 0;
        qCWarning(diarioRegistos) << "PesagemAutomatica: card" << codigo << "not recorded:" << erro.numero
                                  << erro.descricao;
        return;
    }
    estacao.UltimaPesagem = qint32(r.pesagem);

    // The kind's document with the count as configured, even one below 1.
    Documentos::imprimirERegistar(estacao, Documentos::ficheiroDocumento(r.tipo), estacao.UltimaPesagem,
                                  Documentos::copiasDocumento(r.tipo, estacao.Def).quantidade, "PesagemAutomatica");
}
