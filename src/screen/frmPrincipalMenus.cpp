// The main window's menu bar: every item named after its control and index,
// the separators at the indexes the menus leave for them.

#include "screen/frmPrincipal.h"

#include <QMenu>
#include <QMenuBar>

namespace {
struct Item
{
    int indice;
    const char* legenda;
    QKeySequence atalho;
};

QString nome(const QString& controlo, int indice)
{
    return controlo + QString::number(indice);
}
}  // namespace

void frmPrincipal::construirMenus()
{
    QMenuBar* barra = menuBar();
    barra->setObjectName(QStringLiteral("mnuPrincipal"));

    // One menu of the bar, with its array of items; the handler gets the item's index.
    auto menu = [&](int indice, const QString& legenda, const QString& controlo, std::initializer_list<Item> itens,
                    void (ComandosPrincipal::*clique)(int)) {
        QMenu* m = barra->addMenu(legenda);
        m->setObjectName(nome(QStringLiteral("mnuPrincipal"), indice) + QStringLiteral("Menu"));
        m->menuAction()->setObjectName(nome(QStringLiteral("mnuPrincipal"), indice));
        m_accoes.insert(m->menuAction()->objectName(), m->menuAction());
        int seguinte = 0;
        for (const Item& item : itens) {
            for (; seguinte < item.indice; ++seguinte)
                m->addSeparator();
            QAction* a = m->addAction(QString::fromUtf8(item.legenda));
            a->setObjectName(nome(controlo, item.indice));
            a->setShortcut(item.atalho);
            const int i = item.indice;
            if (clique)
                connect(a, &QAction::triggered, this, [this, clique, i] {
                    (m_logica.comandos().*clique)(i);
                    sincronizar();
                });
            m_accoes.insert(a->objectName(), a);
            seguinte = item.indice + 1;
        }
        return m;
    };

    menu(0, QStringLiteral("&Programa"), QStringLiteral("mnuPrg"), {{0, "&Código de Acesso", {}}, {2, "&Sair", {}}},
         &ComandosPrincipal::mnuPrg_Click);
    menu(1, QStringLiteral("&Tabelas"), QStringLiteral("mnuTab"),
         {{0, "&Viaturas", {}},
          {1, "Clientes e &Fornecedores", {}},
          {2, "&Transportadores", {}},
          {3, "&Produtos", {}},
          {4, "Locais de &Carga", {}},
          {5, "Locais de &Descarga", {}},
          {7, "Primeiras Pesagens", {}}},
         &ComandosPrincipal::mnuTab_Click);
    menu(2, QStringLiteral("&Estatisticas"), QStringLiteral("mnuEst"),
         {{0, "&Viaturas", {}},
          {1, "Clientes e &Fornecedores", {}},
          {2, "&Transportadores", {}},
          {3, "&Produtos", {}},
          {4, "Locais de &Carga", {}},
          {5, "Locais de &Descarga", {}},
          {7, "&Operadores", {}},
          {9, "Pesagens", {}}},
         &ComandosPrincipal::mnuEst_Click);
    mnuOpcoes = menu(3, QStringLiteral("&Opções"), QStringLiteral("mnuOpc"),
                     {{0, "Último &Documento", QKeySequence(Qt::Key_F12)},
                      {2, "&Segunda Via", {}},
                      {4, "Pesagem &Manual", {}},
                      {6, "&Apagar primeira pesagem", QKeySequence(Qt::Key_F8)},
                      {8, "Anular Pesagem", {}}},
                     &ComandosPrincipal::mnuOpc_Click);
    // The check mark is the screen's: Qt's own toggle is overwritten at once.
    m_accoes.value(QStringLiteral("mnuOpc4"))->setCheckable(true);

    // The traffic lights: a submenu per bridge, run by the device link.
    QMenu* semaforos = menu(4, QStringLiteral("Semá&foros"), QStringLiteral("mnuSemaforos"), {}, nullptr);
    m_widgetsDispositivos.mnuPrincipal4 = semaforos->menuAction();
    const QKeySequence atalhos[2][2] = {{QKeySequence(Qt::CTRL | Qt::Key_F5), QKeySequence(Qt::Key_F5)},
                                        {QKeySequence(Qt::CTRL | Qt::Key_F7), QKeySequence(Qt::Key_F7)}};
    for (int b = 0; b < 2; ++b) {
        if (b == 1)
            semaforos->addSeparator();
        QMenu* sub = semaforos->addMenu(b == 0 ? QStringLiteral("Báscula &1") : QStringLiteral("Báscula &2"));
        sub->menuAction()->setObjectName(nome(QStringLiteral("mnuSemaforos"), 2 * b));
        const QString controlo = b == 0 ? QStringLiteral("mnuSmfB1") : QStringLiteral("mnuSmfB2");
        QAction* comando = sub->addAction(QStringLiteral("&Comando manual"));
        comando->setObjectName(nome(controlo, 0));
        comando->setShortcut(atalhos[b][0]);
        sub->addSeparator();
        QAction* cor = sub->addAction(QStringLiteral("&Encarnado"));
        cor->setObjectName(nome(controlo, 2));
        cor->setShortcut(atalhos[b][1]);
        for (QAction* a : {sub->menuAction(), comando, cor})
            m_accoes.insert(a->objectName(), a);
        WidgetsBascula& wb = m_widgetsDispositivos.bascula[std::size_t(b)];
        wb.mnuSemaforos = sub->menuAction();
        wb.mnuSmf0 = comando;
        wb.mnuSmf2 = cor;
    }

    menu(5, QStringLiteral("&Sistema"), QStringLiteral("mnuSis"),
         {{0, "Acerto de &Data e Hora", {}},
          {2, "Códigos de &Acesso", {}},
          {4, "&Parâmetros Internos", {}},
          {6, "&Calculadora", QKeySequence(Qt::CTRL | Qt::Key_C)}},
         &ComandosPrincipal::mnuSis_Click);
    menu(6, QStringLiteral("&Ajuda"), QStringLiteral("mnuAjuda"),
         {{0, "&Tópicos de ajuda", QKeySequence(Qt::CTRL | Qt::Key_H)}, {2, "&Acerca do Zumarel", {}}},
         &ComandosPrincipal::mnuAjuda_Click);
}

void frmPrincipal::sincronizarMenus()
{
    for (auto it = m_accoes.cbegin(); it != m_accoes.cend(); ++it) {
        // The lights' submenus are the device link's to enable.
        if (it.key().startsWith(QLatin1String("mnuSemaforos")) || it.key().startsWith(QLatin1String("mnuSmf")))
            continue;
        // An item works only while its menu does: a disabled menu also keeps
        // its items' shortcuts from running.
        const bool activo = m_logica.menuUtilizavel(it.key());
        if (it.value()->isEnabled() != activo)
            it.value()->setEnabled(activo);
    }
    QAction* manual = m_accoes.value(QStringLiteral("mnuOpc4"));
    if (manual->isChecked() != m_logica.estado().mnuOpc4Marcado)
        manual->setChecked(m_logica.estado().mnuOpc4Marcado);
}
