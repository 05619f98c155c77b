#include "UlmoSagresWebRegistro_U.h"

#include "ControleMensagem_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"

namespace nUlmoSagres {

using namespace nFramework;

std::string TUlmoSagresWebRegistro::Moeda(Currency AValor) {
  std::string s = FormatFloat("0.00", AValor);
  if (auto p = s.find(','); p != std::string::npos) s[p] = '.';
  return s;
}

std::string TUlmoSagresWebRegistro::Data(TDateTime AData) { return FormatDateTime("yyyy-mm-dd", AData); }

std::string TUlmoSagresWebRegistro::Preencher(std::string_view s, int n) { return PreencherEsquerda(s, n, "0"); }

std::string TUlmoSagresWebRegistro::Cortar(std::string_view s, size_t n) {
  // Counted in characters, not bytes: a name must not be cut inside an accented letter.
  size_t bytes = 0, chars = 0;
  while (bytes < s.size() && chars < n) {
    unsigned char c = static_cast<unsigned char>(s[bytes]);
    bytes += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return std::string(s.substr(0, std::min(bytes, s.size())));
}

void TUlmoSagresWebRegistro::AbrirDataSet(std::unique_ptr<TSQLDataSet>& ACds, const char* ASQL,
                                          const TValores& AValores) {
  if (!ACds)
    ACds = ExecutarSQL(ASQL, AValores);
  else
    RefreshSQL(*ACds, AValores, true);
}

bool TUlmoSagresWebRegistro::ValorDaRegra(const std::string& AItem, const std::string& AFormula, Currency& AValor) {
  using R = TUlmoSagresWebRegraCalculoCtb::TnResultadoRegra;
  std::string motivo;
  switch (TUlmoSagresWebRegraCalculoCtb::Instance().ValorDaRegra(AFormula, AValor)) {
    case R::Valor: return true;
    case R::SemRegra:
    case R::Zero: return false;
    case R::Invalida: motivo = "é inválida"; break;
    case R::NaoNumerica: motivo = "não resultou em um valor numérico"; break;
  }
  ControleMensagem().AddAviso(AItem + ": a regra de cálculo \"" + CitarValor(AFormula) + "\" " + motivo +
                                  "; o item não foi gerado.",
                              TextoCompetencia(TUlmoSagresWebConfiguracao::Instance().DataInicial));
  return false;
}

}  // namespace nUlmoSagres
