#include "DemoEmpresa_U.h"

#include "DateUtils_U.h"
#include "DemoCadastros_U.h"
#include "Exceptions_U.h"
#include "Insercao_U.h"
#include "InscricaoFederal_U.h"
#include "PlanoDemo_U.h"
#include "TextUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

const std::vector<TEmpresaDemo> kEmpresas = {
    {1, sdSC, "Companhia de Desenvolvimento Urbano de Joinville S.A.", "CDUJ - Sede", "SC", "Joinville", 7214389u,
     1, "Dona Francisca", "1560", "Saguaçu", "89221-006", 756, "Sicoob", 3120, 1845, 3069,
     142857, 30215, 88012, 142860, 30299, 2,
     {{"Carlos Eduardo Hoffmann", 304981265u}, {"Patrícia Schneider Lemos", 512873046u}}, 1.00, 0x5C2024},
    {2, sdRS, "Companhia de Habitação e Obras de Caxias do Sul S.A.", "CHOCS - Sede", "RS", "Caxias do Sul", 9328174u,
     2, "Júlio de Castilhos", "2030", "Centro", "95010-003", 41, "Banrisul", 2841, 2216, 390,
     264019, 41577, 6120035, 264027, 41590, 2,
     {{"Luiz Fernando Bortolini", 203948571u}, {"Ana Paula Zanella", 687120394u}}, 0.85, 0x852024},
    {3, sdPR, "Companhia de Serviços Urbanos de Ponta Grossa S.A.", "CSUPG - Sede", "PR", "Ponta Grossa", 11502637u,
     1, "Balduíno Taques", "445", "Centro", "84010-050", 748, "Sicredi", 1572, 391, 712,
     318446, 52014, 44871, 318454, 52022, 1,
     {{"Roberto Kossatz Ribas", 129384756u}, {"Juliana Mendes Taques", 745612398u}}, 1.25, 0x412024},
    {4, sdSE, "Empresa Municipal de Obras e Manutenção de Aracaju S.A.", "EMOMA - Sede", "SE", "Aracaju", 13840592u,
     2, "Ivo do Prado", "948", "São José", "49015-070", 47, "Banese", 3468, 45, 21,
     57391, 60428, 3301947, 57405, 60436, 3,
     {{"José Augusto Menezes Prado", 418592637u}, {"Maria Cecília Andrade Lima", 906281734u}}, 0.70, 0x532024},
};

struct TCfopDemo {
  int Codigo;
  const char* Descr;
  int NaturezaPgto;  // TCE-SE payment nature
};
const std::vector<TCfopDemo> kCfops = {
    {1551, "Compra de bem para o ativo imobilizado", 3},
    {1556, "Compra de material para uso ou consumo", 4},
    {1653, "Compra de combustível ou lubrificante por consumidor ou usuário final", 4},
    {1933, "Aquisição de serviço tributado pelo ISSQN", 5},
    {2551, "Compra de bem para o ativo imobilizado", 3},
    {2556, "Compra de material para uso ou consumo", 4},
    {2653, "Compra de combustível ou lubrificante por consumidor ou usuário final", 4},
    {2933, "Aquisição de serviço tributado pelo ISSQN", 5},
    {5933, "Prestação de serviço tributado pelo ISSQN", 0},
};

struct TBemDemo {
  const char* Descr;
  int Ano, Mes, Dia;
};
const std::vector<TBemDemo> kBens = {
    {"Edifício sede administrativa", 2009, 6, 15},
    {"Terreno da sede administrativa", 2009, 6, 15},
    {"Galpão de almoxarifado e oficina", 2014, 3, 20},
    {"Mobiliário de escritório da sede", 2016, 9, 1},
    {"Gerador de energia a diesel 150 kVA", 2017, 5, 22},
    {"Retroescavadeira 4x4", 2018, 8, 10},
    {"Ar-condicionado split 24.000 BTU", 2019, 12, 10},
    {"Caminhão basculante 6x4", 2020, 2, 17},
    {"Caminhonete cabine dupla 4x4", 2021, 11, 5},
    {"Servidor de rede em rack 2U", 2022, 4, 12},
    {"Sistema de gestão integrada - licença perpétua", 2022, 7, 1},
    {"Notebook 14 polegadas", 2023, 2, 28},
    {"Notebook 14 polegadas", 2023, 2, 28},
};

// Accounts registered during the demo year; the others come from the company's start.
bool CadastradaNoAno(const std::string& classif) { return classif == "3.3.1.01.003" || classif == "4.2.1.01.002"; }

// The court account of a synthetic company account: the nearest synthetic court account above
// the court accounts of all its analytic descendants; empty when they share none.
std::string ClassifTCESintetica(const std::string& classif) {
  auto ascendentes = [](std::string c) {
    std::vector<std::string> r;
    for (; !c.empty(); c = ClassifPaiTCE(c)) r.insert(r.begin(), c);
    return r;
  };
  std::vector<std::string> comum;
  bool primeira = true;
  for (const auto& c : PlanoContasDemo()) {
    if (!c.Analitica() || c.SemRelacao || c.Classif.rfind(classif + ".", 0) != 0) continue;
    std::vector<std::string> a = ascendentes(c.ClassifTCE);
    if (primeira) {
      comum = a;
      primeira = false;
      continue;
    }
    size_t k = 0;
    while (k < comum.size() && k < a.size() && comum[k] == a[k]) ++k;
    comum.resize(k);
  }
  if (comum.empty()) return "";
  for (const auto& t : PlanoTCEDemo())
    if (t.Classif == comum.back() && t.Analitica) return ClassifPaiTCE(comum.back());
  return comum.back();
}

int Grupo(const std::string& classif) { return classif[0] - '0'; }
int NaturezaGrupo(int grupo) { return (grupo == 1 || grupo == 3 || grupo == 5 || grupo == 7 || grupo == 9) ? 1 : -1; }

void GravarMapeamento(const TEmpresaDemo& e, const TPlanoEmpresa& plano) {
  TInsercao mapa("TCEPLANOPLESPEC",
                 "CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA, CODIGOSISTEMATCE, CONTATCE, "
                 "TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE, CODIGOBANCO, NUMEROAGENCIA, "
                 "NUMEROCONTA, IDENTIFIPATQUALITATIVA");
  bool pr = e.Sistema == sdPR;
  struct TBancaria {
    const char* Classif;
    int Tipo, Banco, Agencia;
    int64_t Conta;
  };
  const std::vector<TBancaria> bancarias = {
      {"1.1.1.02.001", 2, 1, e.AgenciaBB, e.ContaBB},
      {"1.1.1.02.002", 2, 104, e.AgenciaCEF, e.ContaCEF},
      {"1.1.1.02.003", 2, e.BancoRegional, e.AgenciaRegional, e.ContaRegional},
      {"1.1.1.03.001", 3, 1, e.AgenciaBB, e.ContaAplicBB},
      {"1.1.1.03.002", 3, 104, e.AgenciaCEF, e.ContaAplicCEF},
  };
  for (const auto& c : PlanoContasDemo()) {
    std::string tce = c.Analitica() ? c.ClassifTCE : ClassifTCESintetica(c.Classif);
    if (tce.empty() || c.SemRelacao) continue;
    int natureza = NaturezaGrupo(Grupo(c.Classif)) * (c.Redutora() ? -1 : 1);
    bool patrimonial = Grupo(c.Classif) <= 2;
    bool financeira = c.Classif.rfind("1.1.1", 0) == 0 || c.Classif.rfind("2.1", 0) == 0;
    char superavit = !patrimonial ? 'N' : (financeira ? 'F' : 'P');
    if (pr) superavit = !patrimonial ? '9' : (financeira ? '1' : '2');
    TVariant aplic, tipo, banco, agencia, conta, identif, detalhe;
    if (pr) {
      identif = 99;
    } else {
      aplic = c.Classif.rfind("1.1.1.03.", 0) == 0 ? "1" : "0";
      tipo = c.Classif.rfind("1.1.1.01.", 0) == 0 ? 1 : 4;
      for (const auto& b : bancarias)
        if (c.Classif == b.Classif) {
          tipo = b.Tipo;
          banco = b.Banco;
          agencia = b.Agencia;
          conta = static_cast<long long>(b.Conta);
          detalhe = c.Descr + " - Ag. " + std::to_string(b.Agencia) + " - Conta " + std::to_string(b.Conta);
        }
    }
    mapa.Linha({e.Codigo, static_cast<long long>(plano.at(c.Classif)), TVariant::FromDate(EncodeDate(kAnoDemo, 1, 1)),
                TVariant::FromDate(EncodeDate(kAnoDemo, 12, 31)), detalhe, e.Sistema,
                static_cast<long long>(ContaTCEDemo(tce)), natureza == 1 ? 1 : 2, aplic, std::string(1, superavit), tipo,
                banco, agencia, conta, identif});
  }
}

void GravarSagres(const TEmpresaDemo& e, const TPlanoEmpresa& plano) {
  TInsercao pgto("TCESESAGRESPGTO", "CODIGOEMPRESA, CODIGOESTAB, CODIGOCFOP, NATUREZAPGTO");
  for (const auto& c : kCfops)
    if (c.NaturezaPgto) pgto.Linha({e.Codigo, 1, c.Codigo, c.NaturezaPgto});
  TInsercao contas("TCESESAGRESCONTABANC", "CODIGOEMPRESA, CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA, CONTACTB");
  contas.Linha({e.Codigo, 1, e.AgenciaBB, std::to_string(e.ContaBB), static_cast<long long>(plano.at("1.1.1.02.001"))});
  contas.Linha({e.Codigo, 104, e.AgenciaCEF, std::to_string(e.ContaCEF), static_cast<long long>(plano.at("1.1.1.02.002"))});
  contas.Linha({e.Codigo, e.BancoRegional, e.AgenciaRegional, std::to_string(e.ContaRegional),
                static_cast<long long>(plano.at("1.1.1.02.003"))});

  // A few rules over the demo chart, so the SAGRES document shows revenues, expenses and assets.
  auto c = [&](const char* classif) { return std::to_string(plano.at(classif)); };
  TInsercao receitas("TCESESAGRESRECEITA", "CODIGOEMPRESA, TIPORECEITA, REGRACALCULOCTB");
  receitas.Linha({e.Codigo, 5, "CREDITO(" + c("4.1.1.01.001") + ") + CREDITO(" + c("4.1.1.01.002") + ") + CREDITO(" +
                                   c("4.1.1.01.003") + ")"});
  receitas.Linha({e.Codigo, 90, "DEBITO(" + c("4.1.2.01.003") + ")"});
  receitas.Linha({e.Codigo, 91, "DEBITO(" + c("4.1.2.01.002") + ")"});
  TInsercao despesas("TCESESAGRESDESPESA", "CODIGOEMPRESA, TIPODESPESA, REGRACALCULOCTB");
  despesas.Linha({e.Codigo, 10, "DEBITO(" + c("3.2.3.01.001") + ") - CREDITO(" + c("3.2.3.01.001") + ")"});
  despesas.Linha({e.Codigo, 13, "DEBITO(" + c("3.2.2.01.001") + ") + DEBITO(" + c("3.2.2.01.003") + ")"});
  despesas.Linha({e.Codigo, 15, "DEBITO(" + c("3.2.4.01.001") + ") + DEBITO(" + c("3.2.4.01.002") + ")"});
  TInsercao patrimonio("TCESESAGRESPATRIMONIO", "CODIGOEMPRESA, TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB");
  patrimonio.Linha({e.Codigo, 1, "P", "SALDOATUAL(" + c("1.2.2.01.001") + ")"});
  patrimonio.Linha({e.Codigo, 1, "D", "SALDOATUAL(" + c("1.2.2.09.001") + ")"});
  patrimonio.Linha({e.Codigo, 5, "P", "SALDOATUAL(" + c("1.2.2.01.004") + ")"});
  patrimonio.Linha({e.Codigo, 5, "D", "SALDOATUAL(" + c("1.2.2.09.004") + ")"});
}

}  // namespace

const std::vector<TEmpresaDemo>& EmpresasDemo() { return kEmpresas; }

TPlanoEmpresa GravarEmpresaDemo(const TEmpresaDemo& e) {
  TInsercao("EMPRESA", "CODIGOEMPRESA, NOMEEMPRESA").Linha({e.Codigo, e.Nome});
  TInsercao("ESTAB",
            "CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, NOMEESTABCOMPLETO, TIPOINSCR, INSCRFEDERAL, SIGLAESTADO, "
            "CODIGOTIPOLOGRAD, ENDERECOESTAB, NUMENDERESTAB, BAIRROENDERESTAB, CEPENDERESTAB")
      .Linha({e.Codigo, 1, e.NomeEstab, e.Nome, 1, GerarCNPJ(e.RaizCNPJ), e.UF, e.Logradouro, e.Endereco, e.Numero,
              e.Bairro, e.CEP});

  // Groups 1, 3, 5, 7 and 9 keep debit balances; 1 and 2 are the balance sheet, 3 and 4 the
  // result, 5 to 9 controls.
  std::vector<TVariant> cfg = {e.Codigo};
  for (int g = 1; g <= 9; ++g) cfg.emplace_back(NaturezaGrupo(g));
  for (int g = 1; g <= 9; ++g) cfg.emplace_back(g <= 2 ? 1 : (g <= 4 ? 3 : 2));
  TInsercao("CFGPLANOESPEC",
            "CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4, NATURGRUPO5, NATURGRUPO6, NATURGRUPO7, "
            "NATURGRUPO8, NATURGRUPO9, TIPOGRUPO1, TIPOGRUPO2, TIPOGRUPO3, TIPOGRUPO4, TIPOGRUPO5, TIPOGRUPO6, "
            "TIPOGRUPO7, TIPOGRUPO8, TIPOGRUPO9")
      .Linha(cfg);

  TPlanoEmpresa plano;
  TInsercao conta("PLANOESPEC", "CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA, NATURSALDO, DATAHORACADAST");
  // Codes follow the chart's order; the accounts left unrelated come after them all, so adding
  // one moves no other account's code.
  int64_t codigo = 0, semRelacao = 1000;
  for (const auto& c : PlanoContasDemo()) {
    int64_t codigoConta = c.SemRelacao ? ++semRelacao : ++codigo;
    plano[c.Classif] = codigoConta;
    std::string descr = c.Classif == "1.1.1.02.003" ? e.NomeBancoRegional + " - Conta Arrecadação" : c.Descr;
    TDateTime cadastro = CadastradaNoAno(c.Classif) ? EncodeDate(kAnoDemo, 3, 4) + EncodeTime(10, 15, 0, 0)
                                                    : EncodeDate(2019, 3, 11) + EncodeTime(14, 20, 0, 0);
    conta.Linha({e.Codigo, static_cast<long long>(codigoConta), c.Classif, descr, c.Analitica() ? 2 : 1,
                 NaturezaGrupo(Grupo(c.Classif)) * (c.Redutora() ? -1 : 1), TVariant::FromDate(cadastro)});
  }

  TInsercao cfop("CFOP", "CODIGOEMPRESA, CODIGOESTAB, CODIGOCFOP, DESCRCFOP");
  for (const auto& c : kCfops) cfop.Linha({e.Codigo, 1, c.Codigo, c.Descr});

  TInsercao agencia("AGENCIA", "CODIGOBANCO, NUMEROAGENCIA, NOMEAGENCIA");
  agencia.Linha({1, e.AgenciaBB, e.Cidade + " - Centro"});
  agencia.Linha({104, e.AgenciaCEF, e.Cidade + " - " + e.Bairro});
  agencia.Linha({e.BancoRegional, e.AgenciaRegional, e.Cidade + " - Agência " + e.NomeBancoRegional});

  TInsercao socio("SOCIO", "CODIGOEMPRESA, CODIGOSOCIO, NOMESOCIO, INSCRFEDERAL");
  for (size_t i = 0; i < e.Socios.size(); ++i)
    socio.Linha({e.Codigo, static_cast<int>(i) + 1, e.Socios[i].Nome, GerarCPF(e.Socios[i].BaseCPF)});
  TInsercao("CFGEMPRESAGEM", "CODIGOEMPRESA, CONTADORRESPCNPJ, SOCIORESPCNPJ").Linha({e.Codigo, e.Contador, 1});

  TInsercao("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE, CODIGOEMPRESA").Linha({e.Sistema, e.Codigo});
  GravarMapeamento(e, plano);
  if (e.Sistema == sdSE) GravarSagres(e, plano);

  TInsercao bem("PATBEM", "CODIGOEMPRESA, CODIGOBEM, NUMEROBEM, DESCRISAO, DATAAQUISICAO");
  for (size_t i = 0; i < kBens.size(); ++i)
    bem.Linha({e.Codigo, static_cast<int>(i) + 1, 1001 + static_cast<int>(i), kBens[i].Descr,
               TVariant::FromDate(EncodeDate(kBens[i].Ano, kBens[i].Mes, kBens[i].Dia))});
  return plano;
}

}  // namespace nHost
