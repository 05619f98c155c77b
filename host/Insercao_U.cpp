#include "Insercao_U.h"

#include <algorithm>
#include <exception>

#include "Exceptions_U.h"

namespace nHost {

using namespace nFramework;

namespace {
// Values to a statement on a server: well under the protocol's 65535 parameters, and large
// enough that the round trips stop counting.
constexpr size_t kValoresPorComando = 4000;
}  // namespace

TInsercao::TInsercao(std::string tabela, std::string colunas, bool emLotes)
    : FTabela(std::move(tabela)), FColunas(std::move(colunas)), FExcecoes(std::uncaught_exceptions()) {
  for (size_t inicio = 0; inicio <= FColunas.size(); ++FNumeroColunas) {
    size_t fim = FColunas.find(',', inicio);
    inicio = fim == std::string::npos ? FColunas.size() + 1 : fim + 1;
  }
  if (emLotes && Conexao().DriverName() != "SQLite") FLote = std::max<size_t>(1, kValoresPorComando / FNumeroColunas);
  FComando = Preparar(FLote);
  FValores.reserve(FLote * FNumeroColunas);
}

TInsercao::~TInsercao() noexcept(false) {
  if (std::uncaught_exceptions() > FExcecoes) return;
  Concluir();
}

std::unique_ptr<IStatement> TInsercao::Preparar(size_t linhas) {
  std::string valores;
  size_t n = 0;
  for (size_t l = 0; l < linhas; ++l) {
    valores += l ? ", (" : "(";
    for (size_t c = 0; c < FNumeroColunas; ++c) valores += (c ? ", ?" : "?") + std::to_string(++n);
    valores += ")";
  }
  IDriver& driver = Conexao().Driver();
  return driver.Prepare(driver.TranslateSQL("insert into " + FTabela + " (" + FColunas + ") values " + valores));
}

void TInsercao::Gravar(IStatement& comando, size_t linhas) {
  int i = 0;
  for (size_t v = 0; v < linhas * FNumeroColunas; ++v) comando.Bind(++i, FValores[v]);
  try {
    comando.Step();
  } catch (const EInternalError&) {
    comando.Reset();
    throw;
  } catch (const Exception& e) {
    comando.Reset();
    FValores.clear();
    std::string onde = linhas == 1 ? "linha " + std::to_string(FQuantidade + 1)
                                   : "linhas " + std::to_string(FQuantidade + 1) + " a " +
                                         std::to_string(FQuantidade + static_cast<int64_t>(linhas));
    throw EDatabaseError(FTabela + ", " + onde + ": " + e.Message());
  }
  comando.Reset();
  FValores.erase(FValores.begin(), FValores.begin() + static_cast<std::ptrdiff_t>(linhas * FNumeroColunas));
  FQuantidade += static_cast<int64_t>(linhas);
}

template <class TLista>
void TInsercao::Guardar(const TLista& valores) {
  if (valores.size() != FNumeroColunas) throw EInternalError("linha de " + FTabela + " com número errado de valores");
  FValores.insert(FValores.end(), valores.begin(), valores.end());
  if (FValores.size() == FLote * FNumeroColunas) Gravar(*FComando, FLote);
}

void TInsercao::Linha(std::initializer_list<TVariant> valores) { Guardar(valores); }
void TInsercao::Linha(const std::vector<TVariant>& valores) { Guardar(valores); }

void TInsercao::Concluir() {
  if (FValores.empty()) return;
  size_t linhas = FValores.size() / FNumeroColunas;
  auto resto = Preparar(linhas);
  Gravar(*resto, linhas);
}

}  // namespace nHost
