// The fixture of the court settings' tests: a fresh SQLite database built from the schema
// scripts with companies 5 and 6, establishment 1 of company 5, and the rows a case adds.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "BancoVazioTeste_U.h"
#include "Contexto_U.h"
#include "SQL_U.h"
#include "Schema_U.h"

namespace nSettingsTeste {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FConexao = nFramework::AbrirBancoTeste();
    nFramework::SetConexao(FConexao.get());
    nFramework::AtualizarEsquema(*FConexao);
    nFramework::LimparExternalVars();
    Executar(
        "insert into EMPRESA values (5, 'Cinco'), (6, 'Seis');"
        "insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (5, 1, 'Matriz'), (5, 2, 'Filial');");
  }
  void TearDown() override {
    nFramework::LimparExternalVars();
    nFramework::SetConexao(nullptr);
  }

  void Executar(const std::string& aSQL) { FConexao->Driver().ExecuteScript(aSQL); }

  // Every row of the table, one line each, in key order.
  static std::string Conteudo(const std::string& aTabela, const std::string& aOrdem = "1, 2, 3") {
    auto d = nFramework::ExecutarSQL("select * from " + aTabela + " order by " + aOrdem);
    std::string r;
    for (; !d->Eof(); d->Next()) {
      for (int i = 0; i < d->FieldCount(); ++i) r += (i ? "|" : "") + d->Fields(i).AsString();
      r += '\n';
    }
    return r;
  }

  std::unique_ptr<nFramework::TnDMConexao> FConexao;
};

}  // namespace nSettingsTeste
