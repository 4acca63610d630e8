#pragma once

class EcraPesagem;

// The weighing screen's layout: the clearing for a new weighing, the layout
// of the mode found, the start-over, and the bridge buttons and document-kind
// options below the weighing fields.
class DisposicaoEcra
{
public:
    explicit DisposicaoEcra(EcraPesagem& ecra) : m_ecra(ecra) {}

    void LimparEcra();
    void MostrarPesagem();
    // The screen's part of the start-over: "&Apagar primeira pesagem" off, the
    // vehicle fields emptied, the screen cleared.
    void RecomecarEcra();

    void cmdB_Click(int Index);
    void cmdB_GotFocus(int Index);
    void cmdB_KeyDown(int Index, int KeyCode, int Shift);
    void cmdB_LostFocus(int Index);
    void opt_GotFocus(int Index);
    void opt_KeyPress(int Index, int& KeyAscii);
    void opt_LostFocus(int Index);

private:
    EcraPesagem& m_ecra;
};
