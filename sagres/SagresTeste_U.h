// Test support of the SAGRES tests: one SE company with a bank account, a stores account, a
// revenue account, a payment, a withholding and a few rules, entries in March 2024, and the
// process over it with its panel filled for that March.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "BancoVazioTeste_U.h"
#include "ProcessoBancoTeste_U.h"
#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "FalhaGravacaoTeste_U.h"
#include "Schema_U.h"
#include "UlmoDPGerarArquivosCtbSagresWebSE_U.h"
#include "Zip_U.h"

namespace nUlmoSagresTeste {

using namespace nFramework;
using namespace nUlmoSagres;
namespace fs = std::filesystem;

inline const char* const kDados = R"SQL(
insert into EMPRESA values (1, 'Companhia de Teste');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB) values (1, 1, 'Sede Aracaju');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3) values (1, 1, -1, -1);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values
  (1, 10, '1', 'ATIVO', 1), (1, 11, '1.1', 'BANCO', 2), (1, 12, '1.2', 'ALMOXARIFADO', 2),
  (1, 30, '3', 'RECEITA', 1), (1, 31, '3.1', 'VENDAS', 2);
insert into TCESISTEMA values (4, 'Sagres SE', 'SE', '9.9');
insert into TCESISTEMAEMPRESA values (4, 1);
insert into IMPLSALDOCTB values (1, 1, 11, '2024-01-01', 100, 1);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values
  (1, 1, '2024-03-10', 11, 31, 50), (1, 2, '2024-03-12', 12, 11, 30);
insert into BANCO values (1, 'Banco Um');
insert into AGENCIA values (1, 1234567, 'Centro');
insert into TCESESAGRESCONTABANC values (1, 1, 1234567, '12345-6', 11);
insert into TCESESAGRESRECEITA values (1, 4, 'CREDITO(31)'), (1, 5, 'SALDOATUAL(99)'), (1, 6, 'CREDITO(31');
insert into TCESESAGRESDESPESA values (1, 1, '-20 * 2.5');
insert into TCESESAGRESPATRIMONIO values (1, 1, 'P', 'SALDOATUAL(12)');
insert into PESSOA values (1, 'Fornecedor Ltda', '12.345.678/0001-90');
insert into CFOP values (1, 1, 1102, 'Compra'), (1, 1, 1556, 'Uso e consumo');
insert into LCTOFISENT values (1, 100, 1, 1, 123, 'ABCD', '2024-03-01', '2024-03-01');
insert into LCTOFISENTCFOP values (1, 100, 1, 1102), (1, 100, 1, 1556);
insert into TCESESAGRESPGTO values (1, 1, 1102, 3), (1, 1, 1556, 5);
insert into DUPLICATAENT values (1, 1, 7, '12/3-A', 100);
insert into DUPLICATAENTPGTO values (1, 1, 7, 1, '2024-03-20', 1234.5);
insert into LCTOFISENTRETIDO (CODIGOEMPRESA, CHAVELCTOFISENT, NUMERONF, DATALCTOFIS, VALORISSQN, VALORINSS)
  values (1, 100, 123, '2024-03-01', 10, 0);
insert into CONTADOR values (1, 'Contador', '123.456.789-09');
insert into SOCIO values (1, 1, 'Gestor', '987.654.321-00');
insert into CFGEMPRESAGEM values (1, 1, 1);
)SQL";

class GerarSagresTest : public TTesteProcessoBanco<TUlmoDPGerarArquivosCtbSagresWebSE> {
 protected:
  void SetUp() override {
    Preparar("ulmo_sagres_", kDados);
    Set("pCodigoSistemaTCE", "4");
    Set("pDataInicial", "01/03/2024");
    Set("pDataFinal", "31/03/2024");
    Set("pCodigoEmpresa", "1");
    Set("pUnidadeGestora", " UG01 ");
    Set("pContaCtbAlmoxarifado", "12");
    Set("pPastaDestino", (FPasta / "saida").string());
  }
  void Rodar() {
    FProcesso->ValidarDado();
    FProcesso->Executar();
  }
  fs::path Zip(const char* mes) { return FPasta / "saida" / mes / "ExecucaoEmpresas.zip"; }
  pugi::xml_node Raiz(const char* mes) {
    std::string xml = LerEntradaZip(Zip(mes), "ExecucaoEmpresas.xml");
    EXPECT_TRUE(FDoc.load_string(xml.c_str()));
    return FDoc.document_element();
  }
  std::string Val(pugi::xml_node n, const char* path) { return n.first_element_by_path(path).text().get(); }
  std::vector<std::string> Textos(int tipo) {
    std::vector<std::string> r;
    std::function<void(const TnMsgNode&)> andar = [&](const TnMsgNode& n) {
      if (n.Tipo == tipo) r.push_back(n.Texto);
      for (const auto& f : n.Filhos) andar(*f);
    };
    for (const auto& n : FProcesso->GetMsgTreeLista()->Raizes()) andar(*n);
    return r;
  }
  // Every file under the output folder; an archive by its entries, whose times vary by run.
  std::map<std::string, std::string> Conteudo() {
    auto r = ConteudoPasta(FPasta / "saida");
    for (auto& [nome, bytes] : r)
      if (nome.size() > 4 && nome.substr(nome.size() - 4) == ".zip") {
        bytes.clear();
        for (const auto& e : ListarEntradasZip(FPasta / "saida" / nome))
          bytes += e + ":" + LerEntradaZip(FPasta / "saida" / nome, e);
      }
    return r;
  }
  std::string Validacao() {
    try {
      FProcesso->ValidarDado();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  pugi::xml_document FDoc;
};

}  // namespace nUlmoSagresTeste
