#include "IrnCadastros_U.h"

#include "ClassRegistry_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"

namespace nHost {

using namespace nFramework;

namespace {

const TnRegistroUnidade gRegistro{nClasse<TirnDMEmpresa>(), nClasse<TirnDCEmpresa>(), nClasse<TirnDCEstab>(),
                                  nClasse<TirnDCBanco>(),   nClasse<TirnDCAgencia>(), nClasse<TirnDCCFOP>(),
                                  nClasse<TirnDCEstado>()};

// A state is picked from its lookup wherever the dictionary's entry is used.
struct TEntradaEstado {
  TEntradaEstado() {
    TnEntradaDicionario e = *Dicionario().Encontrar("SIGLAESTADO");
    e.ClasseLookup = "TirnDCEstado";
    e.CampoLookup = "SiglaEstado";
    e.CampoExibido = "NomeEstado";
    Dicionario().Registrar(e);
  }
} gEntradaEstado;

TnCampoDef CampoEmpresa() {
  return {.Nome = "CODIGOEMPRESA", .Tipo = TFieldType::ftSmallint, .Label = "Empresa", .Obrigatorio = true,
          .Minimo = 1, .Maximo = 32767, .MensagemFaixa = "Código da empresa inválido!"};
}

}  // namespace

TirnDMEmpresa::TirnDMEmpresa() {
  SetCaption("Empresa");
  SetCommandText("Select t_t.CODIGOEMPRESA,t_t.NOMEEMPRESA from EMPRESA t_t ORDER BY t_t.CODIGOEMPRESA");
  SetOrdem("CodigoEmpresa");
  SetCadCons("TirnDCEmpresa");
  SetPodeAlterarChave(false);
  TnCampoDef codigo = CampoEmpresa();
  codigo.AutoIncrementar = true;
  AddCampo(codigo);
  AddCampo({.Nome = "NOMEEMPRESA", .Tipo = TFieldType::ftString, .Tamanho = 100, .Label = "Nome da Empresa",
            .Obrigatorio = true});
}

TirnDCEmpresa::TirnDCEmpresa() {
  SetCaption("Consulta Empresa");
  SetCadCons("TirnDMEmpresa");
  SetLogChanges(false);
}

std::string TirnDCEmpresa::NomeEmpresa(int aCodigoEmpresa) {
  TVariant nome = PegarValorCampo("EMPRESA", "NOMEEMPRESA",
                                  "CODIGOEMPRESA = " + ValorParaSQL(aCodigoEmpresa, TFieldType::ftSmallint));
  if (nome.IsNull()) throw Exception("Código da empresa inválido!");
  return nome.AsString();
}

TirnDCEstab::TirnDCEstab() {
  SetCaption("Consulta Estabelecimento");
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.CODIGOESTAB,t_t.NOMEESTAB,t_t.INSCRFEDERAL,t_t.SIGLAESTADO from ESTAB t_t "
      "ORDER BY t_t.CODIGOEMPRESA,t_t.CODIGOESTAB");
  SetLogChanges(false);
  AddCampo(CampoEmpresa());
  AddCampo({.Nome = "CODIGOESTAB", .Tipo = TFieldType::ftInteger, .Label = "Estabelecimento", .Obrigatorio = true});
  AddCampo({.Nome = "NOMEESTAB", .Tipo = TFieldType::ftString, .Tamanho = 60, .Label = "Nome", .Obrigatorio = true});
  AddCampo({.Nome = "INSCRFEDERAL", .Tipo = TFieldType::ftString, .Tamanho = 18, .Label = "CNPJ/CPF"});
  AddCampo({.Nome = "SIGLAESTADO", .Tipo = TFieldType::ftString, .Tamanho = 2, .Label = "UF"});
}

TirnDCBanco::TirnDCBanco() {
  SetCaption("Consulta Banco");
  SetCommandText("Select t_t.CODIGOBANCO,t_t.NOMEBANCO from BANCO t_t ORDER BY t_t.CODIGOBANCO");
  SetLogChanges(false);
  AddCampo({.Nome = "CODIGOBANCO", .Tipo = TFieldType::ftSmallint, .Label = "Banco", .Obrigatorio = true});
  AddCampo({.Nome = "NOMEBANCO", .Tipo = TFieldType::ftString, .Tamanho = 60, .Label = "Nome", .Obrigatorio = true});
}

TirnDCAgencia::TirnDCAgencia() {
  SetCaption("Consulta Agência");
  SetCommandText(
      "Select t_t.CODIGOBANCO,t_t.NUMEROAGENCIA,t_t.NOMEAGENCIA from AGENCIA t_t ORDER BY t_t.CODIGOBANCO,"
      "t_t.NUMEROAGENCIA");
  SetLogChanges(false);
  AddCampo({.Nome = "CODIGOBANCO", .Tipo = TFieldType::ftSmallint, .Label = "Banco", .Obrigatorio = true});
  AddCampo({.Nome = "NUMEROAGENCIA", .Tipo = TFieldType::ftInteger, .Label = "Agência", .Obrigatorio = true});
  AddCampo({.Nome = "NOMEAGENCIA", .Tipo = TFieldType::ftString, .Tamanho = 60, .Label = "Nome", .Obrigatorio = true});
}

TirnDCCFOP::TirnDCCFOP() {
  SetCaption("Consulta CFOP");
  SetCommandText(
      "Select t_t.CODIGOEMPRESA,t_t.CODIGOESTAB,t_t.CODIGOCFOP,t_t.DESCRCFOP from CFOP t_t ORDER BY "
      "t_t.CODIGOEMPRESA,t_t.CODIGOESTAB,t_t.CODIGOCFOP");
  SetLogChanges(false);
  AddCampo(CampoEmpresa());
  AddCampo({.Nome = "CODIGOESTAB", .Tipo = TFieldType::ftInteger, .Label = "Estabelecimento", .Obrigatorio = true});
  AddCampo({.Nome = "CODIGOCFOP", .Tipo = TFieldType::ftInteger, .Label = "CFOP", .Obrigatorio = true});
  AddCampo({.Nome = "DESCRCFOP", .Tipo = TFieldType::ftString, .Tamanho = 100, .Label = "Natureza", .Obrigatorio = true});
}

TirnDCEstado::TirnDCEstado() {
  SetCaption("Consulta Estado");
  SetCommandText("Select t_t.SIGLAESTADO,t_t.NOMEESTADO from ESTADO t_t ORDER BY t_t.SIGLAESTADO");
  SetLogChanges(false);
  AddCampo({.Nome = "SIGLAESTADO", .Tipo = TFieldType::ftString, .Tamanho = 2, .Label = "UF", .Obrigatorio = true});
  AddCampo({.Nome = "NOMEESTADO", .Tipo = TFieldType::ftString, .Tamanho = 50, .Label = "Nome", .Obrigatorio = true});
}

}  // namespace nHost
