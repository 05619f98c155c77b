// The fixture of the court registers' tests: a fresh SQLite database built from the schema
// scripts with three court systems (1 "SC", 2 "PR", 3 "pr"), plus the rows a case adds, and
// helpers that save one row through a register the way its form does.
#pragma once
#include <gtest/gtest.h>

#include <vector>
#include <memory>
#include <string>
#include <utility>

#include "BancoVazioTeste_U.h"
#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "DMClientDataSet_U.h"
#include "SQL_U.h"
#include "Schema_U.h"

namespace nUlmoTeste {

using TCampos = std::vector<std::pair<const char*, const char*>>;

class CadastrosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    nFramework::SetConexao(FConexao.get());
    nFramework::AtualizarEsquema(*FConexao);
    nFramework::LimparExternalVars();
    Executar(
        "insert into TCESISTEMA values (1, 'TCE/SC', 'SC', '9.9.9'), (2, 'TCE/PR', 'PR', '9.9'),"
        " (3, 'TCE/PR minúsculo', 'pr', '9.9');");
  }
  void TearDown() override {
    nFramework::LimparExternalVars();
    nFramework::SetConexao(nullptr);
  }

  void Executar(const std::string& aSQL) { FConexao->Driver().ExecuteScript(aSQL); }

  // Every row of the table, one line each, to show that a refused save changed nothing.
  static std::string Conteudo(const std::string& aTabela) {
    auto d = nFramework::ExecutarSQL("select * from " + aTabela + " order by 1, 2");
    std::string r;
    for (; !d->Eof(); d->Next()) {
      for (int i = 0; i < d->FieldCount(); ++i) r += (i ? "|" : "") + d->Fields(i).AsString();
      r += '\n';
    }
    return r;
  }

  // Sets the fields of the row in edit (text as typed; "" clears).
  static void Preencher(nFramework::TnDMClientDataSet& aReg, const TCampos& aCampos) {
    for (const auto& [campo, valor] : aCampos) aReg.nClientDataSet().FieldByName(campo).SetAsString(valor);
  }
  // Posts the row in edit and writes it; the refusal's message (the row cancelled), or "".
  static std::string Gravar(nFramework::TnDMClientDataSet& aReg) {
    try {
      aReg.nClientDataSet().Post();
    } catch (const std::exception& e) {
      aReg.nClientDataSet().Cancel();
      return e.what();
    }
    if (aReg.ApplyUpdates(0) > 0) return aReg.ErrosApplyUpdates().front();
    return "";
  }
  // A new row with these fields, saved through the register.
  static std::string Incluir(nFramework::TnDMClientDataSet& aReg, const TCampos& aCampos) {
    aReg.nClientDataSet().Append();
    Preencher(aReg, aCampos);
    return Gravar(aReg);
  }
  // The register of that class, created as the framework creates it, with its rows loaded.
  template <class T>
  static std::unique_ptr<T> Abrir() {
    auto r = nFramework::nCriarObjeto<T>();
    r->Abrir();
    return r;
  }

  std::unique_ptr<nFramework::TnDMConexao> FConexao;
};

}  // namespace nUlmoTeste
