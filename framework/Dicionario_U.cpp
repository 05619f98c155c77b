#include "Dicionario_U.h"

#include "Classes_U.h"

namespace nFramework {

namespace {
TnEntradaDicionario E(std::string aNome, std::string aCaption, TnControle aControle, std::string aLista = {},
                      std::string aClasse = {}, std::string aCampo = {}, std::string aExibido = {}, int aTamanho = 0) {
  TnEntradaDicionario e;
  e.Nome = std::move(aNome);
  e.Caption = std::move(aCaption);
  e.Controle = aControle;
  e.Lista = std::move(aLista);
  e.ClasseLookup = std::move(aClasse);
  e.CampoLookup = std::move(aCampo);
  e.CampoExibido = std::move(aExibido);
  e.Tamanho = aTamanho;
  return e;
}
}  // namespace

TnDicionario::TnDicionario() {
  using C = TnControle;
  FEntradas = {
      E("DICSIMNAO", "", C::Combo, "Não=0;Sim=1"),
      E("DICDATA", "Data", C::Data),
      E("DICDATAMESANO", "Competência", C::DataMesAno),
      E("DICDIRETORIO", "Pasta", C::Diretorio),
      E("DICSENHA", "Senha", C::Senha),
      E("DICNUMERICO", "", C::Numerico),
      E("DICSELECIONADO", "Selecionado", C::Selecionado, "Não=0;Sim=1"),
      E("CODIGOEMPRESA", "Empresa", C::Inteiro, "", "TirnDCEmpresa", "CodigoEmpresa", "NomeEmpresa"),
      E("CODIGOESTAB", "Estabelecimento", C::Inteiro, "", "TirnDCEstab", "CodigoEstab", "NomeEstab"),
      E("CODIGOSISTEMATCE", "Sistema TCE", C::Inteiro, "", "TUlmoDCSistema", "CodigoSistemaTCE", "DescrSistemaTCE"),
      E("CONTACTB", "Conta Contábil", C::Numerico, "", "TKaloDCPlanoEspec", "ContaCtb", "DescrConta"),
      E("CONTATCE", "Conta TCE", C::Numerico, "", "TUlmoDCPlano", "ContaTCE", "DescrConta"),
      E("CODIGOORIGLCTOCTB", "Origem Lançamento", C::Texto, "", "KaloDCOrigemLctoCtb", "CodigoOrigLctoCtb",
       "DescrOrigLctoCtb"),
      E("CODIGOTIPOCONTATCE", "Tipo Conta TCE", C::Inteiro, "", "TUlmoDCTipoContaCtb", "CodigoTipoContaTCE",
       "DescrTipoContaTCE"),
      E("CODIGOTIPOMOVIMCTB", "Tipo Movimento TCE", C::Inteiro, "", "TUlmoDCTipoMovimCtb", "CodigoTipoMovimCtb",
       "DescrTipoMovim"),
      E("CODIGOBANCO", "Banco", C::Inteiro, "", "TirnDCBanco", "CodigoBanco", "NomeBanco"),
      E("NUMEROAGENCIA", "Agência", C::Inteiro, "", "TirnDCAgencia", "NumeroAgencia", "NomeAgencia"),
      E("NUMEROCONTA", "Número da Conta", C::Numerico),
      E("CODIGOCFOP", "CFOP", C::Texto, "", "TirnDCCFOP", "CodigoCFOP", "DescrCFOP"),
      E("SIGLAESTADO", "Estado", C::Texto, "", "", "", "", 2),
      E("SEQ", "Sequência", C::Inteiro),
      E("IDENTIFIPATQUALITATIVA", "Identificador da Variação Patrimonial Qualitativa", C::Combo,
       "Incorporação de Ativo=1;Desincorporação de Passivo=2;Incorporação de Passivo=3;"
       "Desincorporação de Ativo=4;Outros Registros Contábeis=99"),
  };
}

void TnDicionario::Registrar(TnEntradaDicionario aEntrada) {
  for (auto& e : FEntradas)
    if (SameText(e.Nome, aEntrada.Nome)) {
      e = std::move(aEntrada);
      return;
    }
  FEntradas.push_back(std::move(aEntrada));
}

const TnEntradaDicionario* TnDicionario::Encontrar(std::string_view aNome) const {
  for (const auto& e : FEntradas)
    if (SameText(e.Nome, aNome)) return &e;
  return nullptr;
}

TnDicionario& Dicionario() {
  static TnDicionario dicionario;
  return dicionario;
}

std::vector<std::pair<std::string, std::string>> ItensLista(std::string_view aLista) {
  TStringList l;
  l.SetDelimitedText(aLista, ';');
  std::vector<std::pair<std::string, std::string>> r;
  for (size_t i = 0; i < l.Count(); ++i) {
    if (Trim(l[i]).empty()) continue;
    bool temIgual = l[i].find('=') != std::string::npos;
    r.emplace_back(l.Names(i), temIgual ? l.ValueFromIndex(i) : l[i]);
  }
  return r;
}

}  // namespace nFramework
