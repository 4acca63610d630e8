#include "platform/ConfiguracaoSerie.h"

#include "platform/ficheiros/FicheiroPerfil.h"

std::optional<ConfiguracaoSerie> lerConfiguracaoSerie(const QString& texto)
{
    const QStringList partes = texto.split(u',');
    if (partes.size() != 4)
        return std::nullopt;
    ConfiguracaoSerie c;
    bool ok = false;
    c.velocidade = partes[0].trimmed().toInt(&ok);
    if (!ok || c.velocidade <= 0)
        return std::nullopt;

    const QString paridade = partes[1].trimmed().toLower();
    if (paridade == u"n")
        c.paridade = QSerialPort::NoParity;
    else if (paridade == u"e")
        c.paridade = QSerialPort::EvenParity;
    else if (paridade == u"o")
        c.paridade = QSerialPort::OddParity;
    else if (paridade == u"m")
        c.paridade = QSerialPort::MarkParity;
    else if (paridade == u"s")
        c.paridade = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const int bits = partes[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return std::nullopt;
    c.bitsDados = QSerialPort::DataBits(bits);

    const QString paragem = partes[3].trimmed();
    if (paragem == u"1")
        c.bitsParagem = QSerialPort::OneStop;
    else if (paragem == u"1.5")
        c.bitsParagem = QSerialPort::OneAndHalfStop;
    else if (paragem == u"2")
        c.bitsParagem = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return c;
}

QString caminhoPortaSerie(const FicheiroPerfil& ini, int numero)
{
    if (numero < 1)
        return {};
    const std::optional<QString> configurado =
        ini.valor(QStringLiteral("PortasSerie"), QStringLiteral("COM") + QString::number(numero));
    if (configurado && !configurado->isEmpty())
        return *configurado;
    return QStringLiteral("/dev/ttyS") + QString::number(numero - 1);
}
