#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <Qt>
#include <optional>

// How a column of an editable grid is shown and typed into: caption, width,
// alignment, display format, and the rules applied while a cell is edited.
// One entry per field of the grid's source, in field order, so a column's
// index is its field's index.

enum class RegraTecla {
    Livre,       // as typed
    Maiusculas,  // letters turned to capitals
    Digitos,     // "1234567890" only
    Data,        // "1234567890-/:" only
    Hora,        // "1234567890:" only
    Nivel,       // "2", "3" or "4" only, with a beep otherwise; the cell keeps the last one
};

enum class FormatoColuna {
    Nenhum,
    Peso,       // "#,##0 kg"
    DataGeral,  // "dd-MM-yyyy", with the time of day when it is not midnight
};

struct ColunaGrelha
{
    QString legenda;
    // Width in twips: a fixed one, or a share of the window's outer width W:
    // (W - 660) * parte / todo.
    double largura = 0;
    int parte = 0;
    int todo = 0;
    Qt::Alignment alinhamento = Qt::AlignLeft;
    FormatoColuna formato = FormatoColuna::Nenhum;
    int limite = 0;  // characters a cell takes while typed; 0 = no limit
    RegraTecla regra = RegraTecla::Livre;
    bool oculta = false;
    bool soLeitura = false;

    double larguraTwips(double larguraJanela) const
    {
        return todo > 0 ? (larguraJanela - 660) * parte / todo : largura;
    }
};

namespace Colunas {

// Twips to pixels at the screen's resolution, rounded once.
int pixeis(double twips, int dpi = 96);

// What a typed character becomes under a rule: itself, its capital, or
// nothing when the rule swallows it. Backspace (8) and Esc (27) always pass;
// Enter (13) never does.
std::optional<QChar> Tecla(RegraTecla regra, QChar c);

// What a cell's editor comes to hold for `texto` when it opened with the
// cell's own text `daCelula`: whatever is typed, pasted, dropped or composed
// goes by the key rule (capitals made), and nothing (std::nullopt) when it
// holds a character the rule refuses. A character outside the rule that the
// cell's own text holds (the blank of a date shown with its time) may stay.
std::optional<QString> textoNaRegra(RegraTecla regra, const QString& daCelula, const QString& texto);

// The shown text of a stored value: Null shows empty.
QString texto(FormatoColuna formato, const QVariant& valor);

}  // namespace Colunas
