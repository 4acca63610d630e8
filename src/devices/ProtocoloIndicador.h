#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <optional>

struct EstadoBascula;

// The weight indicators' protocols: which layout a model speaks, its poll and
// zero commands, the weight field and the reading of one frame into a bridge's
// state. Frames are bytes, one character per byte.
namespace ProtocoloIndicador {

constexpr char STX = 0x02;

enum class Layout {
    Nenhum,  // a model the station does not know: nothing is parsed, polled or zeroed
    A,       // continuous frames of 14 bytes
    U,       // polled frames of 13 bytes
};

struct Modelo
{
    Layout layout = Layout::Nenhum;
    QByteArray poll;  // sent when the buffer is empty and after each frame; empty: never polled
    QByteArray zero;  // the zero command; empty: none
};

// By the model's name, matched exactly (letter case counts).
Modelo modelo(const QString& IndModelo);

// Bytes from the STX to the terminator.
int comprimentoTrama(Layout layout);

// The weight field read as a whole number of kg: the decimal grammar of
// Conversoes::numeroDecimal (blanks ignored anywhere; sign, digits, '.',
// digits and an exponent); halves go to the even neighbour. A field with
// no digit (an overload shown as "--------") or a value beyond 32 bits is no
// weight at all.
std::optional<qint32> valorPeso(QByteArrayView campo);

// "#,#00": at least two digits, every three grouped with the separator.
QString formatarPeso(qint32 valor, QChar separador);

// The thousands separator of the station's fixed locale (pt_PT).
QChar separadorMilhares();

// Reads the first frame of the bridge's buffer into its state, with the
// counter, message, error and validity rules of the indicator link. Returns
// true when a frame was taken out of the buffer (whether or not its fields
// were good): the polled model is polled again at once.
bool LerTrama(Layout layout, EstadoBascula& e, int Ciclos, int PesagemMinima, QChar separador);

// The texts of the reading states.
namespace Mensagens {
inline const QString ErroProtocolo = QStringLiteral("Erro de protocolo");
inline const QString ErroLeitura = QStringLiteral("Erro em leitura de peso");
inline const QString PesoInstavel = QStringLiteral("Peso instavel");
inline const QString ModoLiquido = QStringLiteral("Indicador em modo de peso líquido");
inline const QString UnidadeIncorrecta = QStringLiteral("Unidade incorrecta de pesagem");
inline const QString PesoNegativo = QStringLiteral("Peso negativo");
}  // namespace Mensagens

}  // namespace ProtocoloIndicador
