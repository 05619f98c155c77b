// User texts that become SQL: an interval parameter ("1, 3-5, 8") turned into a condition, and
// values turned into literals of each column type. What comes out must be only numbers, the
// column and the condition's words, or one quoted literal with its quotes doubled.
#include <string>

#include "Fuzz_U.h"
#include "SQL_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

bool SoNumerosEPalavras(std::string sql) {
  for (const char* palavra : {"CODIGOESTAB", " in (", " between ", " and ", " or "})
    for (size_t p; (p = sql.find(palavra)) != std::string::npos;) sql.erase(p, std::string(palavra).size());
  return sql.find_first_not_of("0123456789-,() ") == std::string::npos;
}

bool LiteralDeTexto(const std::string& sql) {
  if (sql.size() < 2 || sql.front() != '\'' || sql.back() != '\'') return false;
  for (size_t i = 1; i + 1 < sql.size(); ++i)
    if (sql[i] == '\'' && sql[++i] != '\'') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aDados, size_t aTamanho) {
  const std::string texto = nFuzz::Texto(aDados, aTamanho);
  std::string condicao;
  try {
    condicao = FilterInterval("CODIGOESTAB", texto);
    if (!SoNumerosEPalavras(condicao)) nFuzz::Falha("um intervalo dá só números", condicao);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    if (!nFuzz::MensagemLimpa(e.what())) nFuzz::Falha("a recusa de um intervalo fica numa linha de UTF-8", e.what());
  }

  const TVariant valor(texto);
  std::string sql;
  if (!LiteralDeTexto(ValorParaSQL(valor, TFieldType::ftString))) nFuzz::Falha("um texto vira um literal com aspas dobradas", texto);
  for (TFieldType tipo : {TFieldType::ftInteger, TFieldType::ftLargeint, TFieldType::ftFloat, TFieldType::ftCurrency,
                          TFieldType::ftDate, TFieldType::ftDateTime, TFieldType::ftBoolean}) {
    if (!nFuzz::Aceita([&] { sql = ValorParaSQL(valor, tipo); })) continue;
    const bool data = tipo == TFieldType::ftDate || tipo == TFieldType::ftDateTime;
    if (data ? !LiteralDeTexto(sql) || sql.find_first_not_of("0123456789-:. '") != std::string::npos
             : sql.find_first_not_of("0123456789-.eE+infa") != std::string::npos)
      nFuzz::Falha("um valor vira um literal do seu tipo", sql);
  }
  return 0;
}
