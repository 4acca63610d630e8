#include "Simulador.h"

#include "Indicador.h"
#include "Leitor.h"
#include "PtySimulada.h"
#include "ServidorTcp.h"

#include <QDir>
#include <QHostAddress>
#include <QRegularExpression>

namespace {
const QString Sim = QStringLiteral("sim");
const QString Nao = QStringLiteral("nao");

QString simNao(bool v)
{
    return v ? Sim : Nao;
}

bool lerSimNao(const QString& t, bool* v)
{
    if (t == Sim || t == u"on" || t == u"1") {
        *v = true;
        return true;
    }
    if (t == Nao || t == u"não" || t == u"off" || t == u"0") {
        *v = false;
        return true;
    }
    return false;
}
}  // namespace

QString Simulador::ajuda()
{
    return QStringLiteral("Comandos (b1 ou b2 para a báscula, b1p b1s b2p b2s para os leitores):\n"
                          "  b1 peso KG            o indicador passa a mostrar KG (instável 1,5 s)\n"
                          "  b1 carga KG [MS]      um camião entra: rampa até KG em MS ms (2000)\n"
                          "  b1 vazia [MS]         o camião sai: rampa até 0\n"
                          "  b1 zero               zero nas teclas do indicador\n"
                          "  b1 estavel | instavel peso estável, ou sempre em movimento\n"
                          "  b1 unidade kg|lb|to   unidade do indicador (lb e to são erradas)\n"
                          "  b1 liquido sim|nao    modo de peso líquido\n"
                          "  b1 negativo           peso de -60 kg\n"
                          "  b1 sobrecarga sim|nao campo de peso \"--------\"\n"
                          "  b1 calado sim|nao     deixa de enviar\n"
                          "  b1 lixo N             N bytes de lixo antes de cada trama (0: nenhum)\n"
                          "  b1 partido sim|nao    cada trama em duas partes, 30 ms entre elas\n"
                          "  b1 normal             sem falhas\n"
                          "  b1 cair               a linha cai (pty fechada, ligação TCP cortada)\n"
                          "  b1 reabrir            uma pty nova atrás da mesma ligação\n"
                          "  cartao b1p CODIGO [imediato] [repetir]\n"
                          "                        cartão no leitor: enviado na próxima leitura pedida\n"
                          "                        (imediato: já), uma vez (repetir: a cada pedido)\n"
                          "  cartao b1p retirar    retira o cartão\n"
                          "  estado                uma linha por dispositivo, terminada por \"estado fim\"\n"
                          "  semaforos             a cor de cada semáforo\n"
                          "  ajuda                 esta lista\n"
                          "  sair                  termina o simulador\n");
}

Transporte* Simulador::transporte(const QString& descricao, const QString& dono, QString* erro)
{
    static const QRegularExpression com(QStringLiteral("^com(\\d{1,2})$"), QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(descricao);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n < 1) {
            *erro = descricao + QStringLiteral(": porta inválida");
            return nullptr;
        }
        if (m_portas.contains(n)) {
            *erro = QStringLiteral("COM%1 usada duas vezes").arg(n);
            return nullptr;
        }
        if (m_pasta.isEmpty()) {
            *erro = QStringLiteral("portas série precisam de --dir PASTA");
            return nullptr;
        }
        auto* pty = new PtySimulada(QDir(m_pasta).filePath(QStringLiteral("COM%1").arg(n)), this);
        if (!pty->abrir(erro))
            return nullptr;
        m_portas.insert(n, pty);
        return pty;
    }
    if (descricao == u"tcp" || descricao.startsWith(u"tcp=")) {
        // tcp, tcp=ENDEREÇO or tcp=ENDEREÇO:PORTA; B1 127.0.0.1 and B2 127.0.0.2 by default.
        QString endereco = dono == u"b1" ? QStringLiteral("127.0.0.1") : QStringLiteral("127.0.0.2");
        quint16 porta = m_portaTcp;
        if (descricao.startsWith(u"tcp=")) {
            const QStringList partes = descricao.mid(4).split(u':');
            endereco = partes[0];
            if (partes.size() > 1)
                porta = quint16(partes[1].toUInt());
        }
        auto* servidor = new ServidorTcp(this);
        if (!servidor->escutar(QHostAddress(endereco), porta, erro))
            return nullptr;
        m_ligacoesTcp << QStringLiteral("%1 TCP %2:%3").arg(dono.toUpper(), endereco).arg(servidor->porta());
        return servidor;
    }
    *erro = descricao + QStringLiteral(": esperava comN ou tcp[=ENDEREÇO[:PORTA]]");
    return nullptr;
}

bool Simulador::configurar(const QStringList& argumentos, QString* erro)
{
    QMap<QString, QString> opcoes;
    for (int k = 1; k < argumentos.size(); ++k) {
        const QString a = argumentos[k];
        if (!a.startsWith(u"--") || k + 1 >= argumentos.size()) {
            *erro = a + QStringLiteral(": opção desconhecida ou sem valor");
            return false;
        }
        opcoes.insert(a.mid(2), argumentos[++k]);
    }
    static const QStringList conhecidas = {"dir", "b1", "b2", "reader", "period", "tcp-port", "comandos"};
    for (const QString& o : opcoes.keys()) {
        if (!conhecidas.contains(o)) {
            *erro = QStringLiteral("--") + o + QStringLiteral(": opção desconhecida");
            return false;
        }
    }
    m_pasta = opcoes.value(QStringLiteral("dir"));
    if (!m_pasta.isEmpty() && !QDir().mkpath(m_pasta)) {
        *erro = m_pasta + QStringLiteral(": não foi possível criar a pasta");
        return false;
    }
    m_periodo = opcoes.value(QStringLiteral("period"), QStringLiteral("100")).toInt();
    m_portaTcp = quint16(opcoes.value(QStringLiteral("tcp-port"), QStringLiteral("3002")).toUInt());
    if (m_periodo <= 0) {
        *erro = QStringLiteral("--period: um número de milissegundos");
        return false;
    }

    for (int b = 0; b < 2; ++b) {
        const QString dono = QStringLiteral("b%1").arg(b + 1);
        const QString valor = opcoes.value(dono);
        if (valor.isEmpty())
            continue;
        const QStringList partes = valor.split(u':');
        static const QMap<QString, Indicador::Modelo> modelos = {{"berkel", Indicador::Modelo::Berkel},
                                                                 {"wtronix", Indicador::Modelo::WeighTronix},
                                                                 {"matrix", Indicador::Modelo::Matrix}};
        if (partes.size() < 2 || !modelos.contains(partes[0])) {
            *erro = QStringLiteral("--%1 %2: esperava MODELO:LIGAÇÃO (berkel, wtronix ou matrix)").arg(dono, valor);
            return false;
        }
        Transporte* t = transporte(partes.mid(1).join(u':'), dono, erro);
        if (!t)
            return false;
        auto* ind = new Indicador(dono.toUpper(), modelos.value(partes[0]), *t, m_periodo, this);
        connect(ind, &Indicador::registo, this, &Simulador::registo);
        m_indicadores[b] = ind;
    }

    const QString leitores = opcoes.value(QStringLiteral("reader"));
    for (const QString& par : leitores.split(u',', Qt::SkipEmptyParts)) {
        const QStringList nv = par.split(u'=');
        static const QStringList nomes = {"b1p", "b1s", "b2p", "b2s"};
        if (nv.size() != 2 || !nomes.contains(nv[0]) || m_leitores.contains(nv[0])) {
            *erro = QStringLiteral("--reader %1: esperava b1p=com3,b1s=com5,...").arg(par);
            return false;
        }
        Transporte* t = transporte(nv[1], nv[0], erro);
        if (!t)
            return false;
        auto* leitor = new Leitor(nv[0], *t, this);
        connect(leitor, &Leitor::registo, this, &Simulador::registo);
        m_leitores.insert(nv[0], leitor);
    }
    if (!m_indicadores[0] && !m_indicadores[1] && m_leitores.isEmpty()) {
        *erro = QStringLiteral("nenhum dispositivo: use --b1, --b2 ou --reader");
        return false;
    }
    return true;
}

QString Simulador::apresentacao() const
{
    QString s;
    if (!m_portas.isEmpty()) {
        s += QStringLiteral("[PortasSerie]\n");
        for (auto it = m_portas.cbegin(); it != m_portas.cend(); ++it)
            s += QStringLiteral("COM%1=%2\n")
                     .arg(it.key())
                     .arg(QDir(m_pasta).absoluteFilePath(QStringLiteral("COM%1").arg(it.key())));
    }
    for (const QString& l : m_ligacoesTcp)
        s += l + u'\n';
    return s;
}

QString Simulador::estado() const
{
    QString s;
    for (Indicador* ind : m_indicadores) {
        if (!ind)
            continue;
        const Indicador::Falhas& f = ind->falhas;
        QStringList falhas;
        if (f.calado)
            falhas << QStringLiteral("calado");
        if (f.lixo > 0)
            falhas << QStringLiteral("lixo:%1").arg(f.lixo);
        if (f.partido)
            falhas << QStringLiteral("partido");
        if (f.sobrecarga)
            falhas << QStringLiteral("sobrecarga");
        if (f.instavel)
            falhas << QStringLiteral("instavel");
        if (f.liquido)
            falhas << QStringLiteral("liquido");
        if (f.unidade != Tramas::Unidade::Kg)
            falhas << (f.unidade == Tramas::Unidade::Lb ? QStringLiteral("unidade:lb") : QStringLiteral("unidade:to"));
        s += QStringLiteral(
                 "estado %1 modelo=%2 ligado=%3 peso=%4 estavel=%5 falhas=%6 recebido=%7 tramas=%8 ligacao=%9\n")
                 .arg(ind->nome().toLower(), Indicador::nomeModelo(ind->modelo()), simNao(ind->transporte().ligado()))
                 .arg(ind->mostrado())
                 .arg(simNao(ind->estavel()), falhas.isEmpty() ? QStringLiteral("nenhuma") : falhas.join(u','),
                      ind->ultimoRecebido().isEmpty() ? QStringLiteral("-")
                                                      : QString::fromLatin1(ind->ultimoRecebido().toHex()))
                 .arg(ind->tramasEnviadas())
                 .arg(ind->transporte().descricao().replace(u' ', u'_'));
    }
    for (Leitor* l : m_leitores) {
        s += QStringLiteral("estado %1 cartao=%2 semaforo=%3 comandos=%4 intervalo_ms=%5 pedidos=%6 ligacao=%7\n")
                 .arg(l->nome(), l->cartao().isEmpty() ? QStringLiteral("-") : QString::fromLatin1(l->cartao()),
                      l->semaforo())
                 .arg(l->comandos())
                 .arg(l->intervaloMs())
                 .arg(l->polls())
                 .arg(l->transporte().descricao().replace(u' ', u'_'));
    }
    return s + QStringLiteral("estado fim\n");
}

QString Simulador::comandoBascula(Indicador& ind, const QStringList& p)
{
    const QString c = p.value(1);
    const QString a = p.value(2);
    bool ok = false;
    bool v = false;
    Indicador::Falhas& f = ind.falhas;
    if (c == u"peso" && (a.toInt(&ok), ok)) {
        ind.definirPeso(a.toInt());
    } else if (c == u"carga" && (a.toInt(&ok), ok)) {
        ind.rampa(a.toInt(), p.size() > 3 ? p[3].toInt() : 2000);
    } else if (c == u"vazia") {
        ind.rampa(0, p.size() > 2 ? a.toInt() : 2000);
    } else if (c == u"zero") {
        ind.zerar(false);
    } else if (c == u"estavel") {
        f.instavel = false;
    } else if (c == u"instavel") {
        f.instavel = true;
    } else if (c == u"negativo") {
        ind.definirPeso(-60);
    } else if (c == u"unidade" && (a == u"kg" || a == u"lb" || a == u"to")) {
        f.unidade = a == u"kg" ? Tramas::Unidade::Kg : a == u"lb" ? Tramas::Unidade::Lb : Tramas::Unidade::To;
    } else if (c == u"liquido" && lerSimNao(a, &v)) {
        f.liquido = v;
    } else if (c == u"sobrecarga" && lerSimNao(a, &v)) {
        f.sobrecarga = v;
    } else if (c == u"calado" && lerSimNao(a, &v)) {
        f.calado = v;
    } else if (c == u"partido" && lerSimNao(a, &v)) {
        f.partido = v;
    } else if (c == u"lixo" && (a.toInt(&ok), ok) && a.toInt() >= 0) {
        f.lixo = a.toInt();
    } else if (c == u"normal") {
        f = Indicador::Falhas();
    } else if (c == u"cair") {
        ind.transporte().cair();
    } else if (c == u"reabrir") {
        ind.transporte().reabrir();
    } else {
        return QStringLiteral("comando desconhecido: ") + p.join(u' ') + QStringLiteral(" (ajuda)\n");
    }
    return QStringLiteral("ok\n");
}

QString Simulador::comandoCartao(const QStringList& p)
{
    Leitor* l = m_leitores.value(p.value(1));
    if (!l || p.size() < 3)
        return QStringLiteral("leitor desconhecido: ") + p.value(1) + QStringLiteral(" (ajuda)\n");
    if (p[2] == u"retirar") {
        l->retirar();
        return QStringLiteral("ok\n");
    }
    l->apresentar(p[2].toLatin1(), p.mid(3).contains(QStringLiteral("imediato")),
                  p.mid(3).contains(QStringLiteral("repetir")));
    return QStringLiteral("ok\n");
}

QString Simulador::executar(const QString& linha)
{
    const QStringList p = linha.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QString c = p.value(0).toLower();
    if (c == u"b1" || c == u"b2") {
        Indicador* ind = m_indicadores[c == u"b1" ? 0 : 1];
        if (!ind)
            return c + QStringLiteral(" não está a ser simulada\n");
        return comandoBascula(*ind, p);
    }
    if (c == u"cartao" || c == u"cartão")
        return comandoCartao(p);
    if (c == u"estado" || c == u"status")
        return estado();
    if (c == u"semaforos" || c == u"semáforos") {
        QString s;
        for (Leitor* l : m_leitores)
            s += QStringLiteral("%1 %2 (%3 comandos, %4 ms entre os dois últimos)\n")
                     .arg(l->nome().toUpper(), l->semaforo())
                     .arg(l->comandos())
                     .arg(l->intervaloMs());
        for (const char* b : {"b1", "b2"}) {
            Leitor* lp = m_leitores.value(QString::fromLatin1(b) + u'p');
            Leitor* ls = m_leitores.value(QString::fromLatin1(b) + u's');
            if (lp && ls && lp->semaforo() != ls->semaforo())
                s += QString::fromLatin1(b).toUpper() + QStringLiteral(": os dois semáforos discordam!\n");
        }
        return s;
    }
    if (c == u"ajuda" || c == u"help" || c == u"?")
        return ajuda();
    if (c == u"sair" || c == u"quit" || c == u"exit") {
        Q_EMIT terminar();
        return {};
    }
    return QStringLiteral("comando desconhecido: ") + linha + QStringLiteral(" (ajuda)\n");
}
