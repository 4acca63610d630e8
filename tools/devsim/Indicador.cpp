#include "Indicador.h"

#include "Transporte.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr int AssentaMs = 1500;  // unstable this long after any change
}

Indicador::Indicador(QString nome, Modelo modelo, Transporte& transporte, int periodoMs, QObject* pai)
    : QObject(pai),
      m_nome(std::move(nome)),
      m_modelo(modelo),
      m_transporte(transporte)
{
    connect(&m_transporte, &Transporte::recebido, this, &Indicador::receber);
    connect(&m_temporizador, &QTimer::timeout, this, &Indicador::periodo);
    m_temporizador.start(periodoMs);
}

QString Indicador::nomeModelo(Modelo m)
{
    switch (m) {
    case Modelo::Berkel: return QStringLiteral("berkel");
    case Modelo::WeighTronix: return QStringLiteral("wtronix");
    case Modelo::Matrix: return QStringLiteral("matrix");
    }
    return {};
}

void Indicador::mudou()
{
    m_desdeMudanca.start();
}

void Indicador::definirPeso(qint32 kg)
{
    m_duracaoRampa = 0;
    m_carga = m_destino = kg;
    mudou();
}

void Indicador::rampa(qint32 kg, int ms)
{
    if (ms <= 0) {
        definirPeso(kg);
        return;
    }
    m_origem = m_carga;
    m_destino = kg;
    m_duracaoRampa = ms;
    m_rampa.start();
    mudou();
}

qint32 Indicador::mostrado() const
{
    return m_carga - m_zero;
}

bool Indicador::estavel() const
{
    if (falhas.instavel || m_duracaoRampa > 0)
        return false;
    return !m_desdeMudanca.isValid() || m_desdeMudanca.elapsed() >= AssentaMs;
}

bool Indicador::zerar(bool pelaEstacao)
{
    // As indicators do: only a small weight, and only when it is steady.
    const qint32 limite = capacidade / 50;
    if (std::abs(mostrado()) > limite || !estavel()) {
        Q_EMIT registo(m_nome + QStringLiteral(" zero recusado (") + QString::number(mostrado())
                       + QStringLiteral(" kg)"));
        return false;
    }
    m_zero = m_carga;
    Q_EMIT registo(m_nome + (pelaEstacao ? QStringLiteral(" ZERO pedido pela estação") : QStringLiteral(" ZERO")));
    return true;
}

Tramas::Leitura Indicador::leitura() const
{
    Tramas::Leitura l;
    l.peso = mostrado();
    if (falhas.unidade == Tramas::Unidade::Lb)
        l.peso = qint32(std::lround(l.peso * 2.20462));
    else if (falhas.unidade == Tramas::Unidade::To)
        l.peso = l.peso / 1000;
    l.unidade = falhas.unidade;
    l.liquido = falhas.liquido;
    l.estavel = estavel();
    l.sobrecarga = falhas.sobrecarga;
    return l;
}

void Indicador::periodo()
{
    if (m_duracaoRampa > 0) {
        const qint64 t = m_rampa.elapsed();
        if (t >= m_duracaoRampa) {
            m_carga = m_destino;
            m_duracaoRampa = 0;
        } else {
            m_carga = m_origem + qint32(qint64(m_destino - m_origem) * t / m_duracaoRampa);
        }
        mudou();
    }
    if (m_modelo != Modelo::Matrix)
        enviarTrama();
}

void Indicador::enviarTrama()
{
    if (falhas.calado || !m_transporte.ligado())
        return;
    QByteArray t = m_modelo == Modelo::Matrix ? Tramas::layoutU(leitura()) : Tramas::layoutA(leitura());
    QByteArray lixo;
    for (int k = 0; k < falhas.lixo; ++k) {
        char c = char(m_aleatorio.bounded(256));
        lixo.append(c == '\x02' ? 'x' : c);
    }
    t.prepend(lixo);
    ++m_tramas;
    if (!falhas.partido) {
        m_transporte.escrever(t);
        return;
    }
    const qsizetype meio = t.size() / 2;
    m_transporte.escrever(t.left(meio));
    QPointer<Indicador> eu(this);
    QTimer::singleShot(30, this, [eu, resto = t.mid(meio)] {
        if (eu)
            eu->m_transporte.escrever(resto);
    });
}

void Indicador::receber(const QByteArray& dados)
{
    m_entrada += dados;
    // Commands: "z" (layout A) / "Z" (layout U) to zero, "P" CR to poll (layout U).
    while (!m_entrada.isEmpty()) {
        const char c = m_entrada.front();
        const bool matrix = m_modelo == Modelo::Matrix;
        if (matrix && c == 'P') {
            if (m_entrada.size() < 2)
                return;
            const bool poll = m_entrada[1] == '\r';
            m_entrada.remove(0, poll ? 2 : 1);
            if (poll) {
                m_ultimoRecebido = "P\r";
                enviarTrama();
                continue;
            }
        } else if (c == (matrix ? 'Z' : 'z')) {
            m_entrada.remove(0, 1);
            m_ultimoRecebido = QByteArray(1, c);
            zerar(true);
            continue;
        } else {
            m_entrada.remove(0, 1);
        }
        Q_EMIT registo(m_nome + QStringLiteral(" recebeu um byte inesperado: ")
                       + QString::number(quint8(c), 16).rightJustified(2, u'0'));
        m_ultimoRecebido = QByteArray(1, c);
    }
}
