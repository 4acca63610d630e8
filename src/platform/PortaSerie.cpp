#include "platform/PortaSerie.h"

#include "platform/Erro.h"
#include "platform/Ligacoes.h"

PortaSerie::PortaSerie(const FicheiroPerfil& ini) : m_ini(ini)
{
    QObject::connect(&m_porta, &QSerialPort::errorOccurred, &m_porta, [this](QSerialPort::SerialPortError erro) {
        if ((erro == QSerialPort::ReadError || erro == QSerialPort::ResourceError) && m_porta.isOpen())
            m_porta.close();
    });
}

void PortaSerie::setCommPort(int numero)
{
    if (numero < 1) {
        m_numero = 0;
        Erros::lancar(ErrosPorta::NumeroInvalido, QStringLiteral("Número de porta inválido (COM%1)").arg(numero));
    }
    m_numero = numero;
}

void PortaSerie::setSettings(const QString& definicoes)
{
    const std::optional<ConfiguracaoSerie> c = lerConfiguracaoSerie(definicoes);
    if (!c)
        Erros::lancar(ErrosPorta::ValorInvalido,
                      QStringLiteral("Configuração de porta inválida: \"%1\"").arg(definicoes));
    m_configuracao = *c;
    if (m_porta.isOpen())
        aplicarConfiguracao();
}

void PortaSerie::aplicarConfiguracao()
{
    m_porta.setBaudRate(m_configuracao.velocidade);
    m_porta.setParity(m_configuracao.paridade);
    m_porta.setDataBits(m_configuracao.bitsDados);
    m_porta.setStopBits(m_configuracao.bitsParagem);
    m_porta.setFlowControl(QSerialPort::NoFlowControl);
}

void PortaSerie::setPortOpen(bool aberta)
{
    m_pedida = aberta && m_numero >= 1;
    if (!aberta) {
        if (m_porta.isOpen())
            m_porta.close();
        return;
    }
    if (m_numero < 1)
        return;
    if (m_porta.isOpen())
        Erros::lancar(ErrosPorta::JaAberta, QStringLiteral("A porta COM%1 já está aberta").arg(m_numero));
    const QString dispositivo = caminhoPortaSerie(m_ini, m_numero);
    m_porta.setPortName(dispositivo);
    if (m_porta.open(QIODevice::ReadWrite)) {
        aplicarConfiguracao();
        return;
    }
    const QSerialPort::SerialPortError erro = m_porta.error();
    const QString onde = QStringLiteral("COM%1 (%2)").arg(m_numero).arg(dispositivo);
    m_porta.clearError();
    if (erro == QSerialPort::DeviceNotFoundError)
        Erros::lancar(ErrosPorta::NumeroInvalido, QStringLiteral("Número de porta inválido: %1 não existe").arg(onde));
    if (erro == QSerialPort::PermissionError)
        Erros::lancar(ErrosPorta::JaAberta,
                      QStringLiteral("A porta %1 está em uso ou sem permissão de acesso").arg(onde));
    Erros::lancar(ErrosPorta::FalhaConfiguracao, QStringLiteral("Não foi possível abrir a porta %1").arg(onde));
}

void PortaSerie::vigiar()
{
    if (!m_pedida || m_porta.isOpen()) {
        m_ticksFechada = 0;
        return;
    }
    if (++m_ticksFechada < TicksReabertura)
        return;
    m_ticksFechada = 0;
    try {
        setPortOpen(true);
    } catch (const Erro&) {
        // Still gone: the next attempt comes TicksReabertura ticks later.
    }
}

qint64 PortaSerie::InBufferCount() const
{
    return m_porta.isOpen() ? m_porta.bytesAvailable() : 0;
}

QByteArray PortaSerie::Input()
{
    return m_porta.isOpen() ? m_porta.readAll() : QByteArray();
}

bool PortaSerie::Output(const QByteArray& dados)
{
    if (!m_porta.isOpen())
        return false;
    return m_porta.write(dados) == dados.size();
}
