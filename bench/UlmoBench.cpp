// Builds the large synthetic company and times it, then times whole-year balances over it.
#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "Conexao_U.h"
#include "Demo_U.h"
#include "EmpresaGrande_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "SaldoCtb_U.h"
#include "Schema_U.h"

using namespace nFramework;
using namespace nHost;

namespace {

template <class F>
double Medir(F&& f) {
  auto inicio = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Ulmo benchmark: the large synthetic company and its balances"};
  std::string banco = "ulmo_bench.db";
  TParamEmpresaGrande param;
  bool semConstruir = false;
  app.add_option("--banco", banco, "database file (created when missing)");
  app.add_option("--empresa", param.CodigoEmpresa, "company code");
  app.add_option("--lancamentos", param.Lancamentos, "entries of the year");
  app.add_option("--contas", param.Contas, "accounts of the chart");
  app.add_flag("--sem-construir", semConstruir, "only time the balances of a company already built");
  CLI11_PARSE(app, argc, argv);

  try {
    auto conexao = TnDMConexao::AbrirSQLite(banco);
    SetConexao(conexao.get());
    AtualizarEsquema(*conexao);
    if (!semConstruir) {
      double s = Medir([&] { GerarEmpresaGrande(param); });
      std::printf("empresa %d: %lld lançamentos, %d contas construídos em %.2f s\n", param.CodigoEmpresa,
                  static_cast<long long>(param.Lancamentos), param.Contas, s);
    }
    const std::map<std::string, std::map<std::string, std::string>> casos = {
        {"ano inteiro", {{"pTipoAgruparData", "0"}}},
        {"ano por mês", {{"pTipoAgruparData", "2"}}},
        {"ano sem ZZ", {{"pConsiderarFiltroLctoCtb", "1"}, {"pFiltroOrigemLcto", "ZZ"}}},
    };
    for (const auto& [nome, extra] : casos) {
      std::map<std::string, std::string> textos = extra;
      textos["pCodigoEmpresa"] = std::to_string(param.CodigoEmpresa);
      textos["pDataInicial"] = "01/01/2024";
      textos["pDataFinal"] = "31/12/2024";
      std::unique_ptr<TClientDataSet> saldo;
      double s = Medir([&] {
        saldo = GerarSaldoCtb(LerParamSaldoCtb([&](std::string_view a) {
          auto it = textos.find(std::string(a));
          return it == textos.end() ? std::string() : it->second;
        }));
      });
      std::printf("saldo %s: %d linhas em %.2f s\n", nome.c_str(), saldo->RecordCount(), s);
    }
    SetConexao(nullptr);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
