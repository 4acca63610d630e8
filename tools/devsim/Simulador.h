#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class Indicador;
class Leitor;
class Transporte;

// The simulated devices of a weighbridge site, wired as the command line
// says, and the console commands that drive them.
class Simulador : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Builds everything; false with the reason when an option or a device fails.
    bool configurar(const QStringList& argumentos, QString* erro);

    // What the station's Lorvane.ini needs: [PortasSerie] and where the TCP indicators listen.
    QString apresentacao() const;

    // Runs one console command and returns what it prints.
    QString executar(const QString& linha);

    static QString ajuda();
    QString estado() const;

Q_SIGNALS:
    void registo(const QString& linha);
    void terminar();

private:
    Transporte* transporte(const QString& descricao, const QString& dono, QString* erro);
    QString comandoBascula(Indicador& ind, const QStringList& p);
    QString comandoCartao(const QStringList& p);

    QString m_pasta;
    int m_periodo = 100;
    quint16 m_portaTcp = 3002;
    std::array<Indicador*, 2> m_indicadores = {nullptr, nullptr};
    QMap<QString, Leitor*> m_leitores;  // "b1p", "b1s", "b2p", "b2s"
    QMap<int, Transporte*> m_portas;    // COM number
    QStringList m_ligacoesTcp;
};
