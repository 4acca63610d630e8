#include "records/GravarViatura.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "records/EcraGravacao.h"
#include "records/LinhaPesagem.h"
#include "shared/Esquema.h"
#include "shared/ModoPesagem.h"

#include <QSqlRecord>
#include <optional>

namespace {

const QString Cabecalho = QStringLiteral("Erro no acesso à tabela de viaturas");
const QString Titulo = QStringLiteral("Tabela de viaturas");

}  // namespace

void GravarViatura(Estacao& estacao, const EcraGravacao& ecra)
{
    ServicoMensagens& mensagens = estacao.mensagens;
    const QString codigo = ecra.txt(Txt::CodigoViatura);
    if (estacao.Acesso.NivelAcesso <= 2 || codigo.trimmed().isEmpty())
        return;

    // The vehicle's stored row, by the code exactly as typed.
    std::optional<QSqlRecord> guardada;
    const bool procurada = Passo(mensagens, Cabecalho, [&] {
        QSqlQuery q = Consulta::executar(
            estacao.bd(),
            QStringLiteral("SELECT * FROM %1 WHERE %2 = ? LIMIT 1")
                .arg(Esquema::citar(Esquema::Viaturas), Esquema::citar(QStringLiteral("Código da viatura"))),
            {codigo});
        if (q.next())
            guardada = q.record();
    });
    if (!procurada)
        return;

    // Which weight is the tare and which the gross. When the two weights
    // cannot be compared, the first is taken as the lighter.
    const QString modo = ecra.ModoPesagem();
    const bool segunda = Modo::eSegunda(modo);
    bool primeiraMaisLeve = true;
    if (segunda) {
        Passo(mensagens, Cabecalho, [&] {
            primeiraMaisLeve =
                ModGlobal::VarLong(ecra.txt(Txt::PesoEntrada)) < ModGlobal::VarLong(ecra.txt(Txt::PesoSaida));
        });
    }
    const int indiceTara = !segunda || primeiraMaisLeve ? Txt::PesoEntrada : Txt::PesoSaida;
    const int indiceBruto = primeiraMaisLeve ? Txt::PesoSaida : Txt::PesoEntrada;

    const CamposLinha viaturaEPartes = LinhaPesagem::camposViaturaEPartes(ecra);
    CamposLinha campos;
    if (!guardada) {
        if (mensagens.MsgBox(QStringLiteral("Deseja gravar a nova viatura em\nTabela de viaturas"),
                             Estilo::SimNao + Estilo::Pergunta + Estilo::SegundoBotao, Titulo)
            != Resposta::Sim)
            return;
        campos << viaturaEPartes;
        campos << LinhaPesagem::doEcra(QStringLiteral("Peso de tara"), ecra, indiceTara);
        // After a first weighing a new vehicle's gross keeps the table's default.
        if (segunda)
            campos << LinhaPesagem::doEcra(QStringLiteral("Peso bruto"), ecra, indiceBruto);
    } else {
        // Plate and parties compared letter for letter, case included.
        bool alterada = false;
        for (int i = 1; i < viaturaEPartes.size(); ++i) {
            const QString& campo = viaturaEPartes[i].campo;
            QString guardado;
            PassoSilencioso([&] { guardado = ModGlobal::LerCampoTexto(*guardada, campo); });
            if (guardado != viaturaEPartes[i].valor().toString())
                alterada = true;
        }
        if (alterada
            && mensagens.MsgBox(QStringLiteral("Os dados da viatura foram alterados\nDeseja gravar as alterações"),
                                Estilo::SimNao + Estilo::Pergunta, Titulo)
                   == Resposta::Sim)
            campos << viaturaEPartes.mid(1);
        campos << LinhaPesagem::doEcra(QStringLiteral("Peso de tara"), ecra, indiceTara);
        if (segunda)
            campos << LinhaPesagem::doEcra(QStringLiteral("Peso bruto"), ecra, indiceBruto);
        else
            campos << LinhaPesagem::fixo(QStringLiteral("Peso bruto"), 0);
    }
    const QDateTime agora = estacao.relogio.agora();
    campos << LinhaPesagem::fixo(QStringLiteral("Data"), agora)
           << LinhaPesagem::fixo(QStringLiteral("Hora"), LinhaPesagem::hora(agora))
           << LinhaPesagem::fixo(QStringLiteral("Operador"), estacao.Acesso.NomeOperador);

    EscritorLinha linha(estacao.bd(), Esquema::Viaturas, estacao.relogio);
    LinhaPesagem::definir(linha, campos, mensagens, Cabecalho);
    Passo(mensagens, Cabecalho, [&] {
        if (guardada) {
            // Found by its key: a row another station deleted since the look is reported.
            linha.actualizar(guardada->value(QStringLiteral("Código da viatura")));
        } else {
            // Another station weighing the same new vehicle may have added it
            // since the look: its row then takes this weighing as a vehicle on
            // file would, with the data the operator has just confirmed.
            QList<std::pair<QString, QVariant>> soNaFicha;
            if (!segunda)
                soNaFicha.append({QStringLiteral("Peso bruto"), 0});
            linha.inserirOuActualizar(soNaFicha);
        }
    });
}
