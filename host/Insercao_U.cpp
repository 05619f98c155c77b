#include "Insercao_U.h"

#include "Exceptions_U.h"

namespace nHost {

using namespace nFramework;

TInsercao::TInsercao(std::string tabela, std::string colunas) : FTabela(std::move(tabela)) {
  std::string marcas;
  size_t inicio = 0;
  while (inicio <= colunas.size()) {
    size_t fim = colunas.find(',', inicio);
    if (fim == std::string::npos) fim = colunas.size();
    ++FColunas;
    marcas += (FColunas > 1 ? ", :V" : ":V") + std::to_string(FColunas);
    inicio = fim + 1;
  }
  IDriver& driver = Conexao().Driver();
  FComando = driver.Prepare(
      driver.TranslateSQL(ParametrizarSQL("insert into " + FTabela + " (" + colunas + ") values (" + marcas + ")").Texto));
}

template <class TLista>
void TInsercao::Gravar(const TLista& valores) {
  if (valores.size() != FColunas) throw EInternalError("linha de " + FTabela + " com número errado de valores");
  IStatement& s = *FComando;
  int i = 0;
  for (const TVariant& v : valores) s.Bind(++i, v);
  try {
    s.Step();
  } catch (const Exception& e) {
    s.Reset();
    throw EDatabaseError(FTabela + ", linha " + std::to_string(FQuantidade + 1) + ": " + e.Message());
  }
  s.Reset();
  ++FQuantidade;
}

void TInsercao::Linha(std::initializer_list<TVariant> valores) { Gravar(valores); }
void TInsercao::Linha(const std::vector<TVariant>& valores) { Gravar(valores); }

}  // namespace nHost
