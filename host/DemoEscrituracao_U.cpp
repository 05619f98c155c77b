#include "DemoEscrituracao_U.h"

#include <algorithm>
#include <cmath>

#include "Currency_U.h"
#include "DemoCadastros_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "Insercao_U.h"

namespace nHost {

using namespace nFramework;

namespace {

// The accounts the operations move, by classification.
namespace c {
const char *Caixa = "1.1.1.01.001", *FundoFixo = "1.1.1.01.002", *BB = "1.1.1.02.001", *CEF = "1.1.1.02.002",
           *Regional = "1.1.1.02.003", *AplicBB = "1.1.1.03.001", *AplicCEF = "1.1.1.03.002", *CliMun = "1.1.2.01.001",
           *CliPJ = "1.1.2.01.002", *CliPF = "1.1.2.01.003", *PECLD = "1.1.2.02.001", *AdiSal = "1.1.3.01.001",
           *IRRFRec = "1.1.3.02.001", *EstConsumo = "1.1.4.01.001", *EstManut = "1.1.4.01.002",
           *EstComb = "1.1.4.01.003", *SegApropriar = "1.1.5.01.001", *Maquinas = "1.2.2.01.001",
           *Informatica = "1.2.2.01.002", *Moveis = "1.2.2.01.003", *Veiculos = "1.2.2.01.004",
           *Edificacoes = "1.2.2.02.001", *DepMaq = "1.2.2.09.001", *DepInf = "1.2.2.09.002", *DepMov = "1.2.2.09.003",
           *DepVei = "1.2.2.09.004", *DepEdif = "1.2.2.09.005", *Software = "1.2.3.01.001", *AmortSoft = "1.2.3.09.001",
           *SalPagar = "2.1.1.01.001", *HonPagar = "2.1.1.01.002", *ProvFerias = "2.1.1.02.001",
           *Prov13 = "2.1.1.02.002", *INSSRec = "2.1.1.03.001", *FGTSRec = "2.1.1.03.002", *FornMat = "2.1.2.01.001",
           *FornServ = "2.1.2.01.002", *Concess = "2.1.2.01.003", *ISSRec = "2.1.3.01.001", *PISRec = "2.1.3.01.002",
           *COFINSRec = "2.1.3.01.003", *IRPJRec = "2.1.3.01.004", *CSLLRec = "2.1.3.01.005", *ISSRet = "2.1.3.02.001",
           *IRRFRet = "2.1.3.02.002", *INSSRet = "2.1.3.02.003", *PCCRet = "2.1.3.02.004", *EmpCP = "2.1.4.01.001",
           *ContasDiv = "2.1.9.01.001", *Consig = "2.1.9.01.002", *FinLP = "2.2.1.01.001",
           *LucrosAcum = "2.3.3.01.001", *ResultExerc = "2.3.3.01.002", *Salarios = "3.1.1.01.001",
           *HorasExtras = "3.1.1.01.002", *Honorarios = "3.1.1.01.003", *Ferias = "3.1.1.01.004",
           *DecTerc = "3.1.1.01.005", *INSSPatr = "3.1.2.01.001", *FGTS = "3.1.2.01.002", *ValeTransp = "3.1.3.01.001",
           *ValeAlim = "3.1.3.01.002", *PlanoSaude = "3.1.3.01.003", *MatExped = "3.2.1.01.001",
           *MatLimp = "3.2.1.01.002", *MatManut = "3.2.1.01.003", *Combust = "3.2.1.01.004", *SrvManut = "3.2.2.01.001",
           *SrvVigil = "3.2.2.01.002", *SrvLimp = "3.2.2.01.003", *SrvConsult = "3.2.2.01.004", *SrvTI = "3.2.2.01.005",
           *Autonomos = "3.2.2.02.001", *Energia = "3.2.3.01.001", *Agua = "3.2.3.01.002", *Telefone = "3.2.3.01.003",
           *Alugueis = "3.2.3.01.004", *Seguros = "3.2.3.01.005", *DeprMoveis = "3.2.4.01.001",
           *DeprEdif = "3.2.4.01.002", *Amortizacao = "3.2.4.01.003", *Juros = "3.3.1.01.001", *Tarifas = "3.3.1.01.002",
           *IOF = "3.3.1.01.003", *IPTU = "3.4.1.01.001", *IPVA = "3.4.1.01.002", *Taxas = "3.4.1.01.003",
           *IRPJ = "3.4.1.02.001", *CSLL = "3.4.1.02.002", *Multas = "3.9.1.01.001", *DespDiv = "3.9.1.01.002",
           *PerdasCred = "3.9.1.01.003", *RecMun = "4.1.1.01.001", *RecPJ = "4.1.1.01.002", *RecPF = "4.1.1.01.003",
           *DedISS = "4.1.2.01.001", *DedPIS = "4.1.2.01.002", *DedCOFINS = "4.1.2.01.003",
           *Rendimentos = "4.2.1.01.001", *JurosMora = "4.2.1.01.002", *Subvencoes = "4.3.1.01.001",
           *RecupDesp = "4.9.1.01.001", *GarantiasRec = "7.1.1.01.001", *GarantiasExec = "8.1.1.01.001";
}  // namespace c

// Opening balances at the size of the first company, debits positive; retained earnings balance them.
const std::vector<std::pair<const char*, double>> kAbertura = {
    {c::Caixa, 3500},          {c::FundoFixo, 1000},       {c::BB, 250000},          {c::CEF, 120000},
    {c::Regional, 60000},      {c::AplicBB, 420000},       {c::AplicCEF, 180000},    {c::CliMun, 215000},
    {c::CliPJ, 140000},        {c::CliPF, 9000},           {c::PECLD, -12000},       {c::IRRFRec, 8500},
    {c::EstConsumo, 35000},    {c::EstManut, 48000},       {c::EstComb, 12000},      {"1.2.1.01.001", 65000},
    {"1.2.1.01.002", 22000},   {c::Maquinas, 780000},      {c::Informatica, 210000}, {c::Moveis, 140000},
    {c::Veiculos, 520000},     {c::Edificacoes, 1850000},  {"1.2.2.02.002", 900000}, {c::DepMaq, -312000},
    {c::DepInf, -126000},      {c::DepMov, -70000},        {c::DepVei, -260000},     {c::DepEdif, -370000},
    {c::Software, 95000},      {c::AmortSoft, -38000},     {c::SalPagar, -36500},    {c::HonPagar, -14400},
    {c::ProvFerias, -85000},   {c::INSSRec, -37200},       {c::FGTSRec, -6900},      {c::FornMat, -38000},
    {c::FornServ, -46000},     {c::Concess, -11500},       {c::ISSRec, -10700},      {c::PISRec, -1400},
    {c::COFINSRec, -6400},     {c::IRPJRec, -56000},       {c::CSLLRec, -33700},     {c::ISSRet, -2400},
    {c::IRRFRet, -9800},       {c::INSSRet, -5800},        {c::PCCRet, -2700},       {c::EmpCP, -240000},
    {c::ContasDiv, -6000},     {c::Consig, -2150},         {c::FinLP, -1200000},     {"2.3.1.01.001", -2500000},
    {"2.3.2.01.001", -140000}, {c::GarantiasRec, 150000},  {c::GarantiasExec, -150000},
};

const std::vector<const char*> kClientesPJ = {
    "Condomínio Residencial Bosque das Araucárias", "Shopping Vitrine Empreendimentos Ltda",
    "Indústria de Plásticos Polimix Ltda",          "Hospital e Maternidade Santa Clara Ltda",
    "Supermercados Bom Preço Ltda",                 "Metalúrgica Forja Nova Ltda",
    "Transportadora Via Rápida Ltda",               "Colégio Integração Ltda",
    "Hotel Mirante Ltda",                           "Clínica Vida e Saúde Ltda",
    "Construtora Horizonte Ltda",                   "Autopeças Motor Forte Ltda",
    "Faculdade Tecnológica do Vale Ltda",           "Frigorífico Campo Bom Ltda",
    "Associação Comercial e Industrial",
};
const std::vector<const char*> kNomes = {"Ana", "Bruno", "Carla", "Daniel", "Eduarda", "Fábio", "Gabriela", "Henrique",
                                         "Isabela", "João", "Larissa", "Marcos", "Natália", "Otávio", "Paula", "Rodrigo"};
const std::vector<const char*> kSobrenomes = {"Almeida", "Barbosa", "Cardoso", "Dias", "Esteves", "Ferreira", "Gomes",
                                              "Machado", "Nunes", "Oliveira", "Pereira", "Ramos", "Santos", "Vieira"};

// "mm/yyyy" of a month counted from January of the demo year (0 is the December before).
std::string MesAno(int mes) {
  int indice = kAnoDemo * 12 + mes - 1;
  int m = indice % 12 + 1;
  return (m < 10 ? "0" : "") + std::to_string(m) + "/" + std::to_string(indice / 12);
}

// 0 Monday ... 6 Sunday (the day count starts on a Saturday).
int DiaDaSemana(TDateTime d) { return (static_cast<int>(d) + 5) % 7; }

TDateTime ProximoDiaUtil(TDateTime d) {
  while (DiaDaSemana(d) >= 5) d += 1;
  return d;
}

int64_t Percentual(int64_t centavos, double taxa) { return std::llround(static_cast<double>(centavos) * taxa); }

}  // namespace

TEscrituracaoDemo::TEscrituracaoDemo(const TEmpresaDemo& empresa, const TPlanoEmpresa& plano)
    : FEmpresa(empresa), FPlano(plano), FSorteio(empresa.Semente), FNumeroNF(1200 + 37 * empresa.Codigo) {
  for (const auto& f : FornecedoresDemo()) FNumeroFornecedor.push_back(static_cast<int>(FSorteio.Inteiro(1000, 60000)) + f.Codigo);
}

int64_t TEscrituracaoDemo::Valor(double reais) const { return std::llround(reais * FEmpresa.Escala * 100); }

int64_t TEscrituracaoDemo::Sortear(double minimo, double maximo) { return FSorteio.Inteiro(Valor(minimo), Valor(maximo)); }

TDateTime TEscrituracaoDemo::DiaUtil(int mes, int dia) const {
  int ano = kAnoDemo + (mes - 1) / 12;
  mes = (mes - 1) % 12 + 1;
  int ultimo = DaysInAMonth(ano, mes);
  TDateTime d = EncodeDate(ano, mes, std::min(dia, ultimo));
  TDateTime util = ProximoDiaUtil(d);
  if (MonthOf(util) != mes)  // past the month's end: back to its last working day
    for (util = d; DiaDaSemana(util) >= 5;) util -= 1;
  return util;
}

TDateTime TEscrituracaoDemo::UltimoDiaUtil(int mes) const { return DiaUtil(mes, 31); }

int64_t TEscrituracaoDemo::Conta(const std::string& classif) const {
  auto it = FPlano.find(classif);
  if (it == FPlano.end()) throw EInternalError("conta " + classif + " fora do plano de demonstração");
  return it->second;
}

int64_t TEscrituracaoDemo::Saldo(const std::string& classif, TDateTime ate) const {
  int64_t conta = Conta(classif), saldo = 0;
  for (const auto& [c, v] : FAbertura)
    if (c == classif) saldo += v;
  for (const auto& l : FLancamentos) {
    if (l.Data > ate) continue;
    if (l.Debito == conta) saldo += l.Centavos;
    if (l.Credito == conta) saldo -= l.Centavos;
  }
  return saldo;
}

void TEscrituracaoDemo::Lancar(TDateTime data, const std::string& debito, const std::string& credito, int64_t centavos,
                               int historico, std::string complemento, const char* origem) {
  if (centavos <= 0 || YearOf(data) != kAnoDemo) return;
  FLancamentos.push_back({data, Conta(debito), Conta(credito), centavos, historico, std::move(complemento), origem});
}

const TFornecedorDemo& TEscrituracaoDemo::Fornecedor(int ramo, int escolha) {
  std::vector<const TFornecedorDemo*> doRamo, doEstado;
  for (const auto& f : FornecedoresDemo())
    if (f.Ramo == ramo) {
      doRamo.push_back(&f);
      if (f.UF == FEmpresa.UF) doEstado.push_back(&f);
    }
  // Most purchases are made in the company's own state.
  const auto& lista = !doEstado.empty() && escolha % 10 < 7 ? doEstado : doRamo;
  return *lista[static_cast<size_t>(escolha) % lista.size()];
}

TEscrituracaoDemo::TNotaEntrada& TEscrituracaoDemo::NovaNota(const TFornecedorDemo& f, TDateTime entrada,
                                                              std::vector<int> cfops) {
  if (f.UF != FEmpresa.UF)
    for (int& cfop : cfops) cfop += 1000;  // operations with another state: 2xxx
  TNotaEntrada n;
  n.Chave = static_cast<int64_t>(FNotas.size()) + 1;
  n.Fornecedor = f.Codigo;
  n.Numero = ++FNumeroFornecedor[static_cast<size_t>(f.Codigo - 1)];
  n.Entrada = entrada;
  n.Emissao = entrada - static_cast<double>(FSorteio.Inteiro(0, 3));
  n.Cfops = std::move(cfops);
  FNotas.push_back(std::move(n));
  return FNotas.back();
}

void TEscrituracaoDemo::Pagar(TNotaEntrada& nota, const std::string& contaFornecedor, int64_t liquido, int parcelas,
                              TDateTime primeiroVencimento) {
  const std::string& nome = FornecedoresDemo()[static_cast<size_t>(nota.Fornecedor - 1)].Nome;
  int64_t pago = 0;
  for (int i = 0; i < parcelas; ++i) {
    TDateTime vencimento = ProximoDiaUtil(primeiroVencimento + 28.0 * i);
    int64_t parcela = i + 1 < parcelas ? liquido / parcelas : liquido - pago;
    pago += parcela;
    if (YearOf(vencimento) != kAnoDemo) continue;  // still open at the year's end
    Lancar(vencimento, contaFornecedor, c::BB, parcela, hPagamentoDuplicata,
           "Dupl. " + std::to_string(nota.Numero) + "/" + std::to_string(i + 1) + " - " + nome, nOrigem::Pagar);
    nota.Parcelas.push_back({vencimento, parcela});
  }
}

void TEscrituracaoDemo::Abertura() {
  int64_t soma = 0;
  for (const auto& [classif, reais] : kAbertura) {
    FAbertura.emplace_back(classif, Valor(reais));
    soma += FAbertura.back().second;
  }
  FAbertura.emplace_back(c::LucrosAcum, -soma);

  // What was open at the start of the year is settled in its first weeks.
  TDateTime janeiro = DiaUtil(1, 20);
  Lancar(janeiro, c::BB, c::CliMun, Valor(215000), hRecebimentoDuplicata,
         "NFS-e " + std::to_string(FNumeroNF) + " - Prefeitura Municipal de " + FEmpresa.Cidade, nOrigem::Receber);
  int64_t resto = Valor(140000);
  for (int i = 0; i < 10; ++i) {
    int64_t v = i < 9 ? Valor(14000) : resto;
    resto -= v;
    Lancar(DiaUtil(1, 3 + 2 * i), c::Regional, c::CliPJ, v, hRecebimentoDuplicata,
           std::string("Duplicatas de dezembro - ") + kClientesPJ[static_cast<size_t>(i)], nOrigem::Receber);
  }
  Lancar(DiaUtil(1, 8), c::Caixa, c::CliPF, Valor(9000), hRecebimentoEspecie, "Recebimentos de dezembro", nOrigem::Receber);
  Lancar(DiaUtil(1, 10), c::FornMat, c::BB, Valor(38000), hPagamentoDuplicata, "Duplicatas de dezembro", nOrigem::Pagar);
  Lancar(DiaUtil(1, 10), c::FornServ, c::BB, Valor(46000), hPagamentoDuplicata, "Serviços de dezembro", nOrigem::Pagar);
  Lancar(DiaUtil(1, 18), c::Concess, c::BB, Valor(11500), hPagamentoContasConsumo, "Contas de dezembro", nOrigem::Pagar);
  Lancar(DiaUtil(2, 15), c::ContasDiv, c::BB, Valor(6000), hLancamentoManual, "Acordo de indenização", nOrigem::Manual);
}

void TEscrituracaoDemo::Faturamento(int mes) {
  int64_t total = 0;
  auto faturar = [&](TDateTime d, const char* cliente, const char* receita, int64_t v, const std::string& tomador) {
    ++FNumeroNF;
    Lancar(d, cliente, receita, v, hFaturamento, "NFS-e " + std::to_string(FNumeroNF) + " - " + tomador, nOrigem::Fiscal);
    total += v;
    return "NFS-e " + std::to_string(FNumeroNF) + " - " + tomador;
  };

  int64_t contrato = Valor(mes >= 7 ? 215000 * 1.04 : 215000);
  std::string nota = faturar(DiaUtil(mes, 5), c::CliMun, c::RecMun, contrato, "Prefeitura Municipal de " + FEmpresa.Cidade);
  Lancar(DiaUtil(mes + 1, 20), c::BB, c::CliMun, contrato, hRecebimentoDuplicata, nota, nOrigem::Receber);

  for (int64_t i = 0, n = FSorteio.Inteiro(18, 26); i < n; ++i) {
    TDateTime d = DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(1, 28)));
    int64_t v = Sortear(1500, 16000);
    std::string n1 = faturar(d, c::CliPJ, c::RecPJ, v, FSorteio.Escolher(kClientesPJ));
    TDateTime recebido = ProximoDiaUtil(d + 30 + static_cast<double>(FSorteio.Inteiro(-3, 12)));
    Lancar(recebido, c::Regional, c::CliPJ, v, hRecebimentoDuplicata, n1, nOrigem::Receber);
    if (recebido > d + 38 && mes >= 3)  // late: interest on arrears (the account exists from March)
      Lancar(recebido, c::Regional, c::JurosMora, Percentual(v, 0.01), hJurosMora, n1, nOrigem::Receber);
  }
  for (int64_t i = 0, n = FSorteio.Inteiro(15, 22); i < n; ++i) {
    TDateTime d = DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(1, 28)));
    int64_t v = Sortear(90, 850);
    std::string pessoa = std::string(FSorteio.Escolher(kNomes)) + " " + FSorteio.Escolher(kSobrenomes);
    std::string n1 = faturar(d, c::CliPF, c::RecPF, v, pessoa);
    if (FSorteio.Chance(60))
      Lancar(d, c::Caixa, c::CliPF, v, hRecebimentoEspecie, n1, nOrigem::Receber);
    else
      Lancar(ProximoDiaUtil(d + static_cast<double>(FSorteio.Inteiro(10, 20))), c::Regional, c::CliPF, v,
             hRecebimentoDuplicata, n1, nOrigem::Receber);
  }

  TDateTime fim = UltimoDiaUtil(mes);
  std::string competencia = " sobre o faturamento de " + MesAno(mes);
  Lancar(fim, c::DedISS, c::ISSRec, Percentual(total, 0.05), hTributosFaturamento, "ISS" + competencia, nOrigem::Fiscal);
  Lancar(fim, c::DedPIS, c::PISRec, Percentual(total, 0.0065), hTributosFaturamento, "PIS" + competencia, nOrigem::Fiscal);
  Lancar(fim, c::DedCOFINS, c::COFINSRec, Percentual(total, 0.03), hTributosFaturamento, "COFINS" + competencia,
         nOrigem::Fiscal);
  if (mes % 3 == 0) {  // presumed profit: 32% of the quarter's services
    int64_t trimestre = 0;
    for (const auto& l : FLancamentos)
      if (l.Historico == hFaturamento && MonthOf(l.Data) > mes - 3 && MonthOf(l.Data) <= mes) trimestre += l.Centavos;
    std::string t = " - " + std::to_string(mes / 3) + "º trimestre de " + std::to_string(kAnoDemo);
    Lancar(fim, c::IRPJ, c::IRPJRec, Percentual(trimestre, 0.32 * 0.15), hImpostosLucro, "IRPJ" + t, nOrigem::Manual);
    Lancar(fim, c::CSLL, c::CSLLRec, Percentual(trimestre, 0.32 * 0.09), hImpostosLucro, "CSLL" + t, nOrigem::Manual);
  }
}

void TEscrituracaoDemo::Recebimentos(int mes) {
  if (mes % 3 == 1)
    Lancar(DiaUtil(mes, 12), c::BB, c::Subvencoes, Valor(95000), hSubvencao,
           "Subvenção para custeio - " + std::to_string(mes / 3 + 1) + "º trimestre", nOrigem::Receber);
  if (FSorteio.Chance(15))
    Lancar(DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(2, 27))), c::BB, c::RecupDesp, Sortear(200, 2500),
           hRecuperacaoDespesas, "Reembolso de despesas com sinistro", nOrigem::Receber);
}

void TEscrituracaoDemo::Compras(int mes) {
  for (int64_t i = 0, n = FSorteio.Inteiro(7, 11); i < n; ++i) {
    bool combustivel = FSorteio.Chance(40);
    const TFornecedorDemo& f = Fornecedor(combustivel ? rfCombustivel : rfMateriais, static_cast<int>(FSorteio.Inteiro(0, 99)));
    TDateTime d = DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(1, 27)));
    int64_t v = combustivel ? Sortear(1500, 6500) : Sortear(600, 9500);
    std::vector<int> cfops{combustivel ? 1653 : 1556};
    if (combustivel && FSorteio.Chance(30)) cfops.push_back(1556);  // lubricants on the same invoice
    TNotaEntrada& nota = NovaNota(f, d, cfops);
    const char* estoque = combustivel ? c::EstComb : (FSorteio.Chance(50) ? c::EstConsumo : c::EstManut);
    Lancar(d, estoque, c::FornMat, v, hCompraMateriais, "NF " + std::to_string(nota.Numero) + " - " + f.Nome,
           nOrigem::Fiscal);
    Pagar(nota, c::FornMat, v, v > Valor(8000) ? 2 : 1, d + 28);
  }
}

void TEscrituracaoDemo::Servicos(int mes) {
  struct TServico {
    TRamoFornecedor Ramo;
    const char* Despesa;
    double Minimo, Maximo;
    double ISS, IRRF, INSS;
  };
  std::vector<TServico> servicos = {
      {rfVigilancia, c::SrvVigil, 28000, 28000, 0.05, 0.01, 0.11},
      {rfLimpeza, c::SrvLimp, 19500, 19500, 0.05, 0.01, 0.11},
      {rfTecnologia, c::SrvTI, 8900, 8900, 0.02, 0.015, 0},
      {rfManutencao, c::SrvManut, 6000, 15000, 0.03, 0.015, 0.11},
  };
  if (mes % 3 == 0) servicos.push_back({rfConsultoria, c::SrvConsult, 4500, 4500, 0.05, 0.015, 0});
  for (const auto& s : servicos) {
    const TFornecedorDemo& f = Fornecedor(s.Ramo, FEmpresa.Codigo);  // the same contractor all year
    TDateTime d = DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(24, 28)));
    int64_t bruto = Sortear(s.Minimo, s.Maximo);
    TNotaEntrada& nota = NovaNota(f, d, {1933});
    nota.ISS = Percentual(bruto, s.ISS);
    nota.IRRF = Percentual(bruto, s.IRRF);
    nota.INSS = Percentual(bruto, s.INSS);
    nota.PCC = Percentual(bruto, 0.0465);
    std::string nf = "NFS-e " + std::to_string(nota.Numero) + " - " + f.Nome;
    Lancar(d, s.Despesa, c::FornServ, bruto, hServicosTomados, nf, nOrigem::Fiscal);
    Lancar(d, c::FornServ, c::ISSRet, nota.ISS, hRetencao, "ISS retido " + nf, nOrigem::Fiscal);
    Lancar(d, c::FornServ, c::IRRFRet, nota.IRRF, hRetencao, "IRRF retido " + nf, nOrigem::Fiscal);
    Lancar(d, c::FornServ, c::INSSRet, nota.INSS, hRetencao, "INSS retido " + nf, nOrigem::Fiscal);
    Lancar(d, c::FornServ, c::PCCRet, nota.PCC, hRetencao, "PIS/COFINS/CSLL retidos " + nf, nOrigem::Fiscal);
    Pagar(nota, c::FornServ, bruto - nota.ISS - nota.IRRF - nota.INSS - nota.PCC, 1, DiaUtil(mes + 1, 10));
  }
}

void TEscrituracaoDemo::Bens(int mes) {
  struct TCompraBem {
    int Mes;
    TRamoFornecedor Ramo;
    const char* Conta;
    const char* Descr;
    int Quantidade;
    double Unitario;
    int Parcelas;
  };
  static const std::vector<TCompraBem> compras = {
      {3, rfInformatica, c::Informatica, "Notebook 14 polegadas", 3, 4800, 1},
      {6, rfVeiculos, c::Veiculos, "Caminhonete cabine dupla 4x4", 1, 168000, 3},
      {9, rfMoveis, c::Moveis, "Conjunto de mesa e cadeiras para sala de reuniões", 1, 12600, 1},
  };
  for (const auto& b : compras) {
    if (b.Mes != mes) continue;
    const TFornecedorDemo& f = Fornecedor(b.Ramo, 0);
    TDateTime d = DiaUtil(mes, 12);
    int64_t v = Valor(b.Unitario) * b.Quantidade;
    TNotaEntrada& nota = NovaNota(f, d, {1551});
    Lancar(d, b.Conta, c::FornMat, v, hAquisicaoBem, "NF " + std::to_string(nota.Numero) + " - " + b.Descr,
           nOrigem::Fiscal);
    Pagar(nota, c::FornMat, v, b.Parcelas, d + 28);
    for (int i = 0; i < b.Quantidade; ++i) FBensNovos.emplace_back(b.Descr, d);
  }
}

void TEscrituracaoDemo::Despesas(int mes) {
  std::string competencia = " - " + MesAno(mes);
  TDateTime fim = UltimoDiaUtil(mes);
  struct TConsumo {
    const char* Conta;
    double Minimo, Maximo;
    const char* Descr;
  };
  for (const TConsumo& u : {TConsumo{c::Energia, 7000, 9500, "Fatura de energia elétrica"},
                            TConsumo{c::Agua, 1800, 2600, "Fatura de água e esgoto"},
                            TConsumo{c::Telefone, 2400, 2900, "Fatura de telefonia e internet"}}) {
    int64_t v = Sortear(u.Minimo, u.Maximo);
    Lancar(DiaUtil(mes, 8), u.Conta, c::Concess, v, hContasConsumo, u.Descr + competencia, nOrigem::Pagar);
    Lancar(DiaUtil(mes, 18), c::Concess, c::BB, v, hPagamentoContasConsumo, u.Descr + competencia, nOrigem::Pagar);
  }
  Lancar(DiaUtil(mes, 10), c::Alugueis, c::BB, Valor(4500), hAluguel, "Aluguel do galpão de apoio" + competencia,
         nOrigem::Pagar);
  Lancar(DiaUtil(mes, 10), c::PlanoSaude, c::BB, Valor(11000), hBeneficios, "Plano de saúde" + competencia, nOrigem::Pagar);
  if (mes == 1)
    Lancar(DiaUtil(1, 15), c::SegApropriar, c::BB, Valor(36000), hSeguros,
           "Apólice de seguro patrimonial " + std::to_string(kAnoDemo), nOrigem::Pagar);
  Lancar(fim, c::Seguros, c::SegApropriar, Valor(3000), hApropriacaoSeguros, "Seguro patrimonial" + competencia,
         nOrigem::Manual);
  if (mes == 2) Lancar(DiaUtil(2, 10), c::IPTU, c::BB, Valor(14800), hRecolhimentoTributos, "IPTU " + std::to_string(kAnoDemo), nOrigem::Pagar);
  if (mes == 3) Lancar(DiaUtil(3, 15), c::IPVA, c::BB, Valor(9600), hRecolhimentoTributos, "IPVA " + std::to_string(kAnoDemo), nOrigem::Pagar);
  if (FSorteio.Chance(30))
    Lancar(DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(2, 27))), c::Taxas, c::Caixa, Sortear(300, 1500),
           hLancamentoManual, "Taxas e emolumentos", nOrigem::Manual);
  if (FSorteio.Chance(10))
    Lancar(DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(2, 27))), c::Multas, c::BB, Sortear(100, 900), hLancamentoManual,
           "Multa de trânsito - veículo da frota", nOrigem::Manual);

  int64_t fundoFixo = 0;
  for (int64_t i = 0, n = FSorteio.Inteiro(3, 6); i < n; ++i) {
    int64_t v = Sortear(40, 350);
    fundoFixo += v;
    Lancar(DiaUtil(mes, static_cast<int>(FSorteio.Inteiro(1, 27))), FSorteio.Chance(60) ? c::MatExped : c::DespDiv,
           c::FundoFixo, v, hFundoFixo, "Comprovantes do fundo fixo", nOrigem::Manual);
  }
  Lancar(fim, c::FundoFixo, c::Caixa, fundoFixo, hFundoFixo, "Reposição do fundo fixo" + competencia, nOrigem::Manual);

  TDateTime tarifas = DiaUtil(mes, 3);
  Lancar(tarifas, c::Tarifas, c::BB, Sortear(180, 260), hTarifas, "Tarifas bancárias" + competencia, nOrigem::Bancos);
  Lancar(tarifas, c::Tarifas, c::CEF, Sortear(90, 140), hTarifas, "Tarifas bancárias" + competencia, nOrigem::Bancos);
  Lancar(tarifas, c::Tarifas, c::Regional, Sortear(120, 180), hTarifas, "Tarifas de cobrança" + competencia, nOrigem::Bancos);
  if (mes >= 4 && FSorteio.Chance(20))  // the account exists from March
    Lancar(tarifas, c::IOF, c::BB, Sortear(20, 120), hTarifas, "IOF sobre saldo devedor" + competencia, nOrigem::Bancos);

  TDateTime parcela = DiaUtil(mes, 15);
  int64_t emprestimo = -Saldo(c::EmpCP, parcela - 1);
  Lancar(parcela, c::Juros, c::BB, Percentual(emprestimo, 0.011), hJuros, "Capital de giro" + competencia, nOrigem::Pagar);
  Lancar(parcela, c::EmpCP, c::BB, mes == 12 ? emprestimo : std::min(emprestimo, Valor(20000)), hParcelaEmprestimo,
         "Parcela " + std::to_string(mes) + "/12 - capital de giro", nOrigem::Pagar);
  Lancar(DiaUtil(mes, 25), c::Juros, c::CEF, Percentual(-Saldo(c::FinLP, fim), 0.008), hJuros,
         "Financiamento de infraestrutura" + competencia, nOrigem::Pagar);
  if (mes % 3 == 0 || mes == 11)
    Lancar(DiaUtil(mes, 14), c::Autonomos, c::BB, Sortear(1500, 4000), hLancamentoManual,
           "RPA - serviços de topografia", nOrigem::Pagar);
  if (mes == 10)
    Lancar(DiaUtil(10, 7), c::GarantiasRec, c::GarantiasExec, Valor(50000), hLancamentoManual,
           "Seguro-garantia do contrato de manutenção predial", nOrigem::Manual);
  if (mes == 11)
    Lancar(DiaUtil(11, 18), c::GarantiasExec, c::GarantiasRec, Valor(30000), hLancamentoManual,
           "Baixa de seguro-garantia de contrato encerrado", nOrigem::Manual);
  if (mes == 12)
    Lancar(DiaUtil(12, 30), c::PerdasCred, c::PECLD, Percentual(Saldo(c::CliPJ, DiaUtil(12, 29)), 0.02),
           hPerdasEstimadas, "Complemento das perdas estimadas com clientes", nOrigem::Manual);
}

void TEscrituracaoDemo::Folha(int mes) {
  std::string competencia = " - " + MesAno(mes);
  TDateTime fim = UltimoDiaUtil(mes);
  int64_t salarios = Valor(mes >= 5 ? 82000 * 1.045 : 82000);  // collective agreement in May
  int64_t extras = Sortear(3000, 6500);
  int64_t honorarios = Valor(18000);
  int64_t base = salarios + extras;
  int64_t adiantamento = Percentual(salarios, 0.4);

  Lancar(DiaUtil(mes, 20), c::AdiSal, c::BB, adiantamento, hAdiantamentoSalarial, "Adiantamento" + competencia, nOrigem::Folha);
  Lancar(fim, c::Salarios, c::SalPagar, salarios, hFolha, "Salários" + competencia, nOrigem::Folha);
  Lancar(fim, c::HorasExtras, c::SalPagar, extras, hFolha, "Horas extras" + competencia, nOrigem::Folha);
  Lancar(fim, c::Honorarios, c::HonPagar, honorarios, hFolha, "Honorários da diretoria" + competencia, nOrigem::Folha);
  Lancar(fim, c::INSSPatr, c::INSSRec, Percentual(base, 0.278) + Percentual(honorarios, 0.2), hEncargosFolha,
         "INSS patronal" + competencia, nOrigem::Folha);
  Lancar(fim, c::FGTS, c::FGTSRec, Percentual(base, 0.08), hEncargosFolha, "FGTS" + competencia, nOrigem::Folha);
  Lancar(fim, c::SalPagar, c::INSSRec, Percentual(base, 0.09), hEncargosFolha, "INSS descontado dos empregados" + competencia,
         nOrigem::Folha);
  Lancar(fim, c::HonPagar, c::INSSRec, Percentual(honorarios, 0.11), hEncargosFolha, "INSS descontado da diretoria" + competencia,
         nOrigem::Folha);
  Lancar(fim, c::SalPagar, c::IRRFRet, Percentual(base, 0.06), hRetencao, "IRRF sobre salários" + competencia, nOrigem::Folha);
  Lancar(fim, c::HonPagar, c::IRRFRet, Percentual(honorarios, 0.2), hRetencao, "IRRF sobre honorários" + competencia,
         nOrigem::Folha);
  Lancar(fim, c::SalPagar, c::Consig, Percentual(salarios, 0.025), hFolha, "Consignações" + competencia, nOrigem::Folha);
  Lancar(fim, c::SalPagar, c::AdiSal, adiantamento, hAdiantamentoSalarial, "Desconto do adiantamento" + competencia,
         nOrigem::Folha);
  int64_t ferias = Percentual(base, 4.0 / 3 / 12 * 1.358);
  Lancar(fim, c::Ferias, c::ProvFerias, ferias, hProvisoes, "Férias e encargos" + competencia, nOrigem::Folha);
  Lancar(fim, c::DecTerc, c::Prov13, Percentual(base, 1.358 / 12), hProvisoes, "13º salário e encargos" + competencia,
         nOrigem::Folha);
  Lancar(DiaUtil(mes, 25), c::ProvFerias, c::BB, Percentual(ferias, 0.9), hFerias, "Férias gozadas" + competencia,
         nOrigem::Folha);
  Lancar(DiaUtil(mes, 26), c::ValeTransp, c::BB, Valor(6500), hBeneficios, "Vale-transporte" + competencia, nOrigem::Folha);
  Lancar(DiaUtil(mes, 26), c::ValeAlim, c::BB, Valor(14000), hBeneficios, "Vale-alimentação" + competencia, nOrigem::Folha);
  if (mes == 11) {
    TDateTime d = DiaUtil(11, 29);
    Lancar(d, c::Prov13, c::BB, -Saldo(c::Prov13, d - 1) / 2, hDecimoTerceiro, "Primeira parcela", nOrigem::Folha);
  }
  if (mes == 12) {
    TDateTime d = DiaUtil(12, 20);
    Lancar(d, c::Prov13, c::BB, -Saldo(c::Prov13, d - 1), hDecimoTerceiro, "Segunda parcela", nOrigem::Folha);
  }
}

// Payroll and taxes of the previous month, paid at their due dates.
void TEscrituracaoDemo::Recolhimentos(int mes) {
  TDateTime anterior = EncodeDate(kAnoDemo, mes, 1) - 1;
  std::string competencia = " - competência " + MesAno(mes - 1);
  auto pagar = [&](const char* conta, int dia, int historico, const char* descr, const char* origem) {
    TDateTime d = DiaUtil(mes, dia);
    Lancar(d, conta, c::BB, -Saldo(conta, anterior), historico, descr + competencia, origem);
  };
  pagar(c::SalPagar, 5, hPagamentoSalarios, "Salários", nOrigem::Folha);
  pagar(c::HonPagar, 5, hPagamentoSalarios, "Honorários da diretoria", nOrigem::Folha);
  pagar(c::FGTSRec, 7, hRecolhimentoTributos, "FGTS", nOrigem::Pagar);
  pagar(c::Consig, 10, hLancamentoManual, "Repasse de consignações", nOrigem::Pagar);
  pagar(c::INSSRec, 20, hRecolhimentoTributos, "INSS", nOrigem::Pagar);
  pagar(c::IRRFRet, 20, hRecolhimentoTributos, "IRRF", nOrigem::Pagar);
  pagar(c::ISSRec, 15, hRecolhimentoTributos, "ISS", nOrigem::Pagar);
  pagar(c::ISSRet, 15, hRecolhimentoTributos, "ISS retido", nOrigem::Pagar);
  pagar(c::PISRec, 25, hRecolhimentoTributos, "PIS", nOrigem::Pagar);
  pagar(c::COFINSRec, 25, hRecolhimentoTributos, "COFINS", nOrigem::Pagar);
  pagar(c::INSSRet, 20, hRecolhimentoTributos, "INSS retido", nOrigem::Pagar);
  pagar(c::PCCRet, 20, hRecolhimentoTributos, "PIS/COFINS/CSLL retidos", nOrigem::Pagar);
  if (mes == 4)  // before the quarter's tax is paid, which it reduces
    Lancar(DiaUtil(4, 15), c::IRPJRec, c::IRRFRec, Valor(8500), hLancamentoManual,
           "Compensação do IRRF retido sobre aplicações", nOrigem::Manual);
  if (mes % 3 == 1) {
    TDateTime d = UltimoDiaUtil(mes);
    Lancar(d, c::IRPJRec, c::BB, -Saldo(c::IRPJRec, d - 1), hRecolhimentoTributos, "IRPJ do trimestre anterior", nOrigem::Pagar);
    Lancar(d, c::CSLLRec, c::BB, -Saldo(c::CSLLRec, d - 1), hRecolhimentoTributos, "CSLL do trimestre anterior", nOrigem::Pagar);
  }
}

void TEscrituracaoDemo::Depreciacao(int mes) {
  TDateTime fim = UltimoDiaUtil(mes);
  std::string competencia = " - " + MesAno(mes);
  struct TTaxa {
    const char* Bem;
    const char* Acumulada;
    const char* Despesa;
    double Anual;
    int Historico;
    const char* Descr;
  };
  for (const TTaxa& t : {TTaxa{c::Maquinas, c::DepMaq, c::DeprMoveis, 0.10, hDepreciacao, "Máquinas e equipamentos"},
                         TTaxa{c::Informatica, c::DepInf, c::DeprMoveis, 0.20, hDepreciacao, "Equipamentos de informática"},
                         TTaxa{c::Moveis, c::DepMov, c::DeprMoveis, 0.10, hDepreciacao, "Móveis e utensílios"},
                         TTaxa{c::Veiculos, c::DepVei, c::DeprMoveis, 0.20, hDepreciacao, "Veículos"},
                         TTaxa{c::Edificacoes, c::DepEdif, c::DeprEdif, 0.04, hDepreciacao, "Edificações"},
                         TTaxa{c::Software, c::AmortSoft, c::Amortizacao, 0.20, hAmortizacao, "Softwares"}})
    Lancar(fim, t.Despesa, t.Acumulada, Percentual(Saldo(t.Bem, fim), t.Anual / 12), t.Historico,
           t.Descr + competencia, nOrigem::Patrimonio);
}

void TEscrituracaoDemo::FimDoMes(int mes) {
  std::string competencia = " - " + MesAno(mes);
  // Weekly: the cash goes to the bank and the collection account to the main account.
  for (TDateTime d = EncodeDate(kAnoDemo, mes, 1); MonthOf(d) == mes; d += 1) {
    if (DiaDaSemana(d) != 4) continue;
    int64_t caixa = Saldo(c::Caixa, d);
    if (caixa > Valor(3000))
      Lancar(d, c::CEF, c::Caixa, caixa - Valor(3000), hDeposito, "Depósito de numerário", nOrigem::Bancos);
    int64_t cobranca = Saldo(c::Regional, d);
    if (cobranca > Valor(20000))
      Lancar(d, c::BB, c::Regional, cobranca - Valor(20000), hTransferencia, "Transferência da conta arrecadação",
             nOrigem::Bancos);
  }
  TDateTime fim = UltimoDiaUtil(mes);
  struct TRequisicao {
    const char* Estoque;
    const char* Despesa;
    double Parte;
  };
  int consumo = static_cast<int>(FSorteio.Inteiro(55, 75));
  for (const TRequisicao& r : {TRequisicao{c::EstConsumo, c::MatExped, 0.6}, TRequisicao{c::EstConsumo, c::MatLimp, 0.4},
                               TRequisicao{c::EstManut, c::MatManut, 1.0}, TRequisicao{c::EstComb, c::Combust, 1.0}})
    Lancar(fim, r.Despesa, r.Estoque, Percentual(Saldo(r.Estoque, fim - 1), r.Parte * consumo / 100), hConsumoMateriais,
           "Requisições do almoxarifado" + competencia, nOrigem::Estoque);

  Lancar(fim, c::AplicBB, c::Rendimentos, Percentual(Saldo(c::AplicBB, fim), 0.0085), hRendimento,
         "Rendimento CDB DI" + competencia, nOrigem::Rendimento);
  Lancar(fim, c::AplicCEF, c::Rendimentos, Percentual(Saldo(c::AplicCEF, fim), 0.0078), hRendimento,
         "Rendimento do fundo de investimento" + competencia, nOrigem::Rendimento);
  int64_t banco = Saldo(c::BB, fim);
  if (banco > Valor(400000))
    Lancar(fim, c::AplicBB, c::BB, banco - Valor(300000), hAplicacao, "Aplicação em CDB DI", nOrigem::Aplicacao);
  else if (banco < Valor(250000))
    Lancar(fim, c::BB, c::AplicBB, std::min(Valor(300000) - banco, Saldo(c::AplicBB, fim)), hResgate, "Resgate de CDB DI",
           nOrigem::Resgate);
  int64_t caixaEconomica = Saldo(c::CEF, fim);
  if (caixaEconomica < Valor(40000))
    Lancar(fim, c::CEF, c::BB, Valor(60000) - caixaEconomica, hTransferencia, "Reforço de saldo", nOrigem::Bancos);
}

void TEscrituracaoDemo::Encerramento() {
  TDateTime fim = EncodeDate(kAnoDemo, 12, 31);
  std::string exercicio = "Exercício de " + std::to_string(kAnoDemo);
  for (const auto& [classif, conta] : FPlano) {
    if (classif[0] != '3' && classif[0] != '4') continue;
    int64_t saldo = Saldo(classif, fim);
    if (saldo > 0) Lancar(fim, c::ResultExerc, classif, saldo, hEncerramento, exercicio, nOrigem::Encerramento);
    if (saldo < 0) Lancar(fim, classif, c::ResultExerc, -saldo, hEncerramento, exercicio, nOrigem::Encerramento);
  }
  int64_t resultado = Saldo(c::ResultExerc, fim);
  if (resultado < 0)
    Lancar(fim, c::ResultExerc, c::LucrosAcum, -resultado, hTransferenciaResultado, "Lucro do " + exercicio,
           nOrigem::Encerramento);
  if (resultado > 0)
    Lancar(fim, c::LucrosAcum, c::ResultExerc, resultado, hTransferenciaResultado, "Prejuízo do " + exercicio,
           nOrigem::Encerramento);
}

void TEscrituracaoDemo::Executar() {
  Abertura();
  for (int mes = 1; mes <= 12; ++mes) {
    Recolhimentos(mes);
    Faturamento(mes);
    Recebimentos(mes);
    Compras(mes);
    Servicos(mes);
    Bens(mes);
    Despesas(mes);
    Folha(mes);
    Depreciacao(mes);
    FimDoMes(mes);
  }
  Encerramento();
  Gravar();
}

void TEscrituracaoDemo::Gravar() {
  int empresa = FEmpresa.Codigo;
  auto data = [](TDateTime d) { return TVariant::FromDate(d); };
  auto dinheiro = [](int64_t centavos) { return TVariant(Currency::FromRaw(centavos * 100)); };

  TInsercao abertura("IMPLSALDOCTB", "CODIGOEMPRESA, CODIGOESTAB, CONTACTB, DATASALDO, VALORSALDO, NATUREZASALDO");
  for (const auto& [classif, v] : FAbertura)
    if (v != 0)
      abertura.Linha({empresa, 1, static_cast<long long>(Conta(classif)), data(EncodeDate(kAnoDemo, 1, 1)),
                      dinheiro(v > 0 ? v : -v), v > 0 ? 1 : -1});

  std::stable_sort(FLancamentos.begin(), FLancamentos.end(),
                   [](const TLancamento& a, const TLancamento& b) { return a.Data < b.Data; });
  const auto& origens = OrigensDemo();
  TInsercao lancamento("LCTOCTB",
                       "CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
                       "CODIGOHISTCTB, COMPLHIST, CODIGOLOTECTB, CODIGOORIGLCTOCTB");
  long long chave = 0;
  for (const auto& l : FLancamentos) {
    TVariant lote;  // a batch per month and routine; manual entries have none
    if (l.Origem != nOrigem::Manual)
      lote = MonthOf(l.Data) * 100 +
             static_cast<int>(std::find(origens.begin(), origens.end(), l.Origem) - origens.begin()) + 1;
    lancamento.Linha({empresa, ++chave, 1, data(l.Data), static_cast<long long>(l.Debito), static_cast<long long>(l.Credito),
                      dinheiro(l.Centavos), l.Historico, l.Complemento, lote, l.Origem});
  }

  TInsercao nota("LCTOFISENT", "CODIGOEMPRESA, CHAVELCTOFISENT, CODIGOESTAB, CODIGOPESSOA, NUMERONF, SERIENF, DATAEMISSAO, DATALCTOFIS");
  TInsercao cfop("LCTOFISENTCFOP", "CODIGOEMPRESA, CHAVELCTOFISENT, CODIGOESTAB, CODIGOCFOP");
  TInsercao retido("LCTOFISENTRETIDO",
                   "CODIGOEMPRESA, CHAVELCTOFISENT, NUMERONF, DATALCTOFIS, VALORISSQN, DATAIRRF, VALORIRRF, VALORINSS, "
                   "DATAPGTOPISCOFINSCSLL, TOTALPISCOFINSCSLL");
  TInsercao duplicata("DUPLICATAENT", "CODIGOEMPRESA, CODIGOPESSOA, CHAVEDUPLICATAENT, NUMERODUPLICATAENT, CHAVELCTOFISENT");
  TInsercao pagamento("DUPLICATAENTPGTO", "CODIGOEMPRESA, CODIGOPESSOA, CHAVEDUPLICATAENT, SEQPGTO, DATAPGTO, VALORPAGO");
  for (const auto& n : FNotas) {
    long long chaveNota = n.Chave;
    nota.Linha({empresa, chaveNota, 1, n.Fornecedor, n.Numero, "1", data(n.Emissao), data(n.Entrada)});
    for (int c : n.Cfops) cfop.Linha({empresa, chaveNota, 1, c});
    if (n.ISS || n.IRRF || n.INSS || n.PCC) {
      // Income tax and the federal contributions are due when the invoice is paid.
      TVariant pago = n.Parcelas.empty() ? TVariant() : data(n.Parcelas.front().Data);
      retido.Linha({empresa, chaveNota, n.Numero, data(n.Entrada), dinheiro(n.ISS), n.IRRF ? pago : TVariant(),
                    dinheiro(n.IRRF), dinheiro(n.INSS), n.PCC ? pago : TVariant(), dinheiro(n.PCC)});
    }
    duplicata.Linha({empresa, n.Fornecedor, chaveNota, std::to_string(n.Numero) + "/1", chaveNota});
    for (size_t i = 0; i < n.Parcelas.size(); ++i)
      pagamento.Linha({empresa, n.Fornecedor, chaveNota, static_cast<int>(i) + 1, data(n.Parcelas[i].Data),
                       dinheiro(n.Parcelas[i].Centavos)});
  }

  TInsercao bem("PATBEM", "CODIGOEMPRESA, CODIGOBEM, NUMEROBEM, DESCRISAO, DATAAQUISICAO");
  int proximo = 100;
  for (const auto& [descr, d] : FBensNovos) {
    ++proximo;
    bem.Linha({empresa, proximo, kAnoDemo * 1000 + proximo - 100, descr, data(d)});
  }
}

}  // namespace nHost
