// Test support: a fixture for a process over a fresh database (the schema plus the rows a test
// gives), writing into a scratch folder of the test's own; the connection, the selection and the
// folder are cleared afterwards.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BancoVazioTeste_U.h"
#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "Schema_U.h"

namespace nFramework {

template <class TProcesso>
class TTesteProcessoBanco : public ::testing::Test {
 protected:
  // REQUIRES: called once, from the fixture's SetUp, before the panel is filled.
  void Preparar(const std::string& prefixoPasta, const char* dados) {
    FPasta = std::filesystem::temp_directory_path() /
             (prefixoPasta + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(FPasta);
    FConexao = AbrirBancoTeste();
    SetConexao(FConexao.get());
    AtualizarEsquema(*FConexao);
    FConexao->Driver().ExecuteScript(dados);
    TnSelecao::Params().Limpar();
    FProcesso = nCriarObjeto<TProcesso>();
  }
  void TearDown() override {
    FProcesso.reset();
    TnSelecao::Params().Limpar();
    SetConexao(nullptr);
    std::filesystem::remove_all(FPasta);
  }
  void Set(const char* alias, const std::string& v) { FProcesso->Param(alias).SetValue(v); }

  std::filesystem::path FPasta;
  std::unique_ptr<TnDMConexao> FConexao;
  std::unique_ptr<TProcesso> FProcesso;
};

}  // namespace nFramework
