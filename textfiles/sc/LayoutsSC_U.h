// The four TCE-SC fixed-width line layouts, as data shared by the file process and its tests.
// A line is its fields side by side, no separator. Numbers and amounts are never cut: a value
// that does not fit its field raises ECampoNaoCabe naming the field and the value, and the
// process adds the account and the file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "Exceptions_U.h"

namespace nUlmoSC {

enum class TTipoCampoSC {
  N,     // FmtNumero of the value's text: digits, zero-filled on the left
  T,     // FmtTexto of the text: blank-filled on the right and cut
  D8,    // a date "yyyymmdd"
  Money  // FormatFloat("0.00"), zero-filled on the left to 16, "," written as "."
};

struct TCampoSC {
  const char* Nome;
  int Largura;
  TTipoCampoSC Tipo;
};

using TLayoutSC = std::vector<TCampoSC>;

const TLayoutSC& LayoutLancamentoContabil();  // 256 characters
const TLayoutSC& LayoutMovimentoContabil();   // 94
const TLayoutSC& LayoutAplicacaoFinanceira(); // 108
const TLayoutSC& LayoutContaContabil();       // 490
int LarguraLinha(const TLayoutSC& layout);

class ECampoNaoCabe : public nFramework::Exception {
 public:
  ECampoNaoCabe(std::string campo, std::string valor, int largura, std::string motivo);
  std::string Campo, Valor, Motivo;
  int Largura;
};

// Builds a line field by field. Text values come as given (UTF-8); dates and amounts through
// their own setters.
class TLinhaSC {
 public:
  // Reserves the line's width: millions of lines are kept until they are sorted and written.
  explicit TLinhaSC(const TLayoutSC& layout) : FLayout(layout) {
    FTexto.reserve(static_cast<size_t>(LarguraLinha(layout)) + 8);
  }
  TLinhaSC& Add(std::string_view valor);  // N or T field
  TLinhaSC& AddData(double data);         // D8 field (TDateTime)
  TLinhaSC& AddValor(double valor);       // Money field
  // The finished line; raises when fields are missing.
  std::string Texto() const;
  // The same, moved out; the line is empty afterwards.
  std::string Extrair();
  // The finished line, valid until the next change; Limpar starts a new line in the same buffer.
  std::string_view Linha() const;
  void Limpar() {
    FCampo = 0;
    FTexto.clear();
  }

 private:
  const TCampoSC& Proximo(TTipoCampoSC esperado);
  const TLayoutSC& FLayout;
  size_t FCampo = 0;
  std::string FTexto;
};

}  // namespace nUlmoSC
