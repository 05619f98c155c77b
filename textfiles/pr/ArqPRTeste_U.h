// Test support for the TCE-PR files: a small PR company in an in-memory database (two mapped
// analytic accounts with movements, a credit account, a mapped synthetic one, two assets) and
// readers for the files written.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BancoVazioTeste_U.h"
#include "Conexao_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Encoding_U.h"
#include "Schema_U.h"
#include "TestFolder_U.h"

namespace nUlmoPRTeste {

inline const char* const kDadosPR = R"SQL(
insert into EMPRESA values (1, 'Prefeitura de Teste');
insert into TIPOLOGRADOURO values (1, 'Rua'), (2, 'Avenida');
insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, NOMEESTABCOMPLETO, TIPOINSCR, INSCRFEDERAL, SIGLAESTADO,
  CODIGOTIPOLOGRAD, ENDERECOESTAB, NUMENDERESTAB, BAIRROENDERESTAB, CEPENDERESTAB) values
  (1, 1, 'Sede', 'Município de Teste', 1, '11.222.333/0001-81', 'PR', 1, 'das Flores', '10', 'Centro', '84010-050');
insert into CFGPLANOESPEC (CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2) values (1, 1, -1);
insert into PLANOESPEC (CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values
  (1, 10, '1', 'ATIVO', 1),
  (1, 11, '1.1', 'CIRCULANTE', 1),
  (1, 12, '1.1.1', 'CAIXA', 2),
  (1, 13, '1.1.2', 'BANCO', 2),
  (1, 20, '2', 'PASSIVO', 1),
  (1, 21, '2.1', 'FORNECEDORES', 2);
insert into TCESISTEMA values (3, 'SIM-AM PR', 'PR', '9.9.9.9.9.99.99');
insert into TCEPLANO (CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA, NATUREZAINFORMACAO,
  INDSUPERAVIT, TIPOCONTROLECONTA) values
  (3, 1, 1, '1.0.0.0.0.00.00', 'Ativo', 'P', 'P', 'O'),
  (3, 11, 1, '1.1.0.0.0.00.00', 'Ativo circulante', 'P', 'P', 'O'),
  (3, 1111, 1, '1.1.1.1.0.00.00', 'Caixa e equivalentes', 'P', 'F', 'O'),
  (3, 11110, 1, '1.1.1.1.1.00.00', 'Caixa e equivalentes em moeda', 'P', 'F', 'O'),
  (3, 11111, 2, '1.1.1.1.1.01.00', 'Caixa', 'P', 'F', 'O'),
  (3, 11112, 2, '1.1.1.1.1.02.00', 'Bancos', 'P', 'F', 'O'),
  (3, 2, 1, '2.0.0.0.0.00.00', 'Passivo', 'P', 'P', 'O'),
  (3, 21111, 2, '2.1.1.1.1.01.00', 'Fornecedores', 'P', 'F', 'F');
insert into TCESISTEMAEMPRESA values (3, 1);
insert into TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE,
  CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, IDENTIFIPATQUALITATIVA) values
  (1, 12, '2024-01-01', '2024-12-31', 'Caixa da sede', 3, 11111, 1, '0', 'F', 1),
  (1, 13, '2023-01-01', '2024-12-31', null, 3, 11112, 1, '0', 'N', 2),
  (1, 21, '2024-01-01', '2024-12-31', null, 3, 21111, 2, '0', 'P', 3),
  (1, 11, '2024-01-01', '2024-12-31', null, 3, 11110, 1, '0', 'N', null);
insert into LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB) values
  (1, 1, 1, '2023-06-01', 12, 21, 150),
  (1, 2, 1, '2024-01-10', 12, 21, 100),
  (1, 3, 1, '2024-02-05', 13, 12, 30.5);
insert into PATBEM values (1, 1, 101, 'Veículo', '2024-12-31'), (1, 2, 102, 'Mesa', '2025-01-01'),
  (1, 3, 100, 'Computador', '2024-03-10');
insert into PATBEMTIPOCATEGORIABEM values (12, 'Categoria');
insert into PATBEMTIPODETALHAMENTOBEM values (345, 'Detalhe');
insert into PATBEMRELACTCE values (1, 1, 1, 2, 12, 345, 1), (1, 2, 1, 2, 12, 345, 1), (1, 3, 2, 3, 12, 345, 2);
)SQL";

// A database with the company above, the current connection while it lives.
class TBancoPR {
 public:
  TBancoPR() {
    FConexao = nFramework::AbrirBancoTeste();
    nFramework::SetConexao(FConexao.get());
    nFramework::AtualizarEsquema(*FConexao);
    Sql(kDadosPR);
    nFramework::TnSelecao::Params().Limpar();
  }
  ~TBancoPR() { nFramework::SetConexao(nullptr); }
  void Sql(const std::string& ASql) { FConexao->Driver().ExecuteScript(ASql); }

 private:
  std::unique_ptr<nFramework::TnDMConexao> FConexao;
};

// The lines of a Windows-1252 file with CRLF ends, as UTF-8 without the ends.
inline std::vector<std::string> LerLinhas(const std::filesystem::path& ACaminho) {
  std::ifstream in(ACaminho, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::string texto = nFramework::Windows1252ToUtf8(ss.str());
  std::vector<std::string> linhas;
  size_t inicio = 0, fim;
  while ((fim = texto.find("\r\n", inicio)) != std::string::npos) {
    linhas.push_back(texto.substr(inicio, fim - inicio));
    inicio = fim + 2;
  }
  EXPECT_EQ(inicio, texto.size()) << "the last line must end in CRLF";
  return linhas;
}

}  // namespace nUlmoPRTeste
