#include "tables/frmTabelas.h"

#include "data/Estacao.h"
#include "tables/ColunasGrelha.h"
#include "tables/VistaGrelha.h"

#include <QHeaderView>
#include <QPushButton>

namespace {

const QList<JanelaGrelha::Botao>& botoes()
{
    static const QList<JanelaGrelha::Botao> b = {
        {QStringLiteral("&Novo"), QStringLiteral("Novo"), QStyle::SP_FileIcon},
        {QStringLiteral("&Apagar"), QStringLiteral("Apagar"), QStyle::SP_TrashIcon},
        {QStringLiteral("Ascendente"), QStringLiteral("Ordenar"), QStyle::SP_ArrowUp},
        {QStringLiteral("&Procurar"), QStringLiteral("Procurar"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("&Visualizar"), QStringLiteral("Visualizar"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("&Imprimir"), QStringLiteral("Imprimir"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("&Sair"), QStringLiteral("Sair"), QStyle::SP_DialogCloseButton},
    };
    return b;
}

}  // namespace

frmTabelas::frmTabelas(Estacao& estacao, const EntradaTabela& entrada, QWidget* pai)
    : JanelaGrelha(pai),
      m_logica(std::make_unique<LogicaTabelas>(estacao, entrada))
{
    setObjectName(QStringLiteral("frmTabelas"));
    setWindowTitle(entrada.titulo);
    montar(m_logica->grelha(), estacao.mensagens, botoes());
    connect(dbg()->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        dbg()->commitarEditor();
        m_logica->dbg_HeadClick(c);
    });
    connect(&m_logica->grelha(), &GrelhaTabela::reordenado, this, &frmTabelas::FormatarColunas);
    // The design size; never narrower than 7475 twips.
    const int dpi = logicalDpiX();
    setMinimumWidth(Colunas::pixeis(7475, dpi));
    resize(Colunas::pixeis(7755, dpi), Colunas::pixeis(4650, dpi));
}

void frmTabelas::Abrir(Estacao& estacao, QWidget* pai)
{
    const EntradaTabela* entrada = CatalogoTabelas::entrada(estacao.Acesso.TituloTabela);
    if (!entrada)
        return;
    frmTabelas janela(estacao, *entrada, pai);
    if (!janela.m_logica->Form_Load())
        return;
    janela.focarGrelha();
    janela.exec();
}

void frmTabelas::clicar(int Index)
{
    if (m_logica->cmd_Click(Index)) {
        reject();
        return;
    }
    if (Index <= 3)
        focarGrelha();
}

void frmTabelas::actualizar()
{
    JanelaGrelha::actualizar();
    const GrelhaTabela::Botoes b = m_grelha->botoes();
    const bool estados[] = {b.novo, b.apagar, b.ordenar, b.procurar, b.listar, b.listar};
    for (int i = 0; i < 6; ++i) {
        if (cmd(i)->isEnabled() != estados[i])
            cmd(i)->setEnabled(estados[i]);
    }
}

void frmTabelas::FormatarColunas()
{
    dbg()->FormatarColunas(frameGeometry().width() * 1440.0 / logicalDpiX());
}

void frmTabelas::resizeEvent(QResizeEvent* evento)
{
    JanelaGrelha::resizeEvent(evento);
    FormatarColunas();
}
