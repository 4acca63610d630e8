#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

class FicheiroPerfil;

// A serial port's settings string, such as "9600,n,8,1": the rate, the parity
// letter (e, m, n, o, s in either case), the data bits (5 to 8) and the stop
// bits (1, 1.5, 2), separated by commas.
struct ConfiguracaoSerie
{
    qint32 velocidade = 9600;
    QSerialPort::Parity paridade = QSerialPort::NoParity;
    QSerialPort::DataBits bitsDados = QSerialPort::Data8;
    QSerialPort::StopBits bitsParagem = QSerialPort::OneStop;
};

// Nothing when the text is not a settings string.
std::optional<ConfiguracaoSerie> lerConfiguracaoSerie(const QString& texto);

// The device of port number n: the key COMn of section [PortasSerie] of the
// settings file when it has one (a stable /dev/serial/by-id/... name, say),
// else /dev/ttyS<n-1>. Empty for a number below 1.
QString caminhoPortaSerie(const FicheiroPerfil& ini, int numero);
