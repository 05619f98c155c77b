// The four companies of the demo database, one per court, and their registers: company and
// establishment, chart settings and chart of accounts, operation codes, partners, bank
// branches, the link to the court system and the mapping of the chart onto the court's chart,
// the assets bought before the demo year and, for TCE-SE, the SAGRES settings.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace nHost {

struct TSocioDemo {
  std::string Nome;
  uint32_t BaseCPF;
};

struct TEmpresaDemo {
  int Codigo;
  int Sistema;  // TSistemaDemo
  std::string Nome;
  std::string NomeEstab;
  std::string UF;
  std::string Cidade;
  uint32_t RaizCNPJ;
  int Logradouro;
  std::string Endereco, Numero, Bairro, CEP;
  int BancoRegional;
  std::string NomeBancoRegional;
  int AgenciaBB, AgenciaCEF, AgenciaRegional;
  int64_t ContaBB, ContaCEF, ContaRegional, ContaAplicBB, ContaAplicCEF;
  int Contador;
  std::vector<TSocioDemo> Socios;
  double Escala;     // size of the company's amounts against the first one
  uint64_t Semente;  // of its sequence of draws
};

const std::vector<TEmpresaDemo>& EmpresasDemo();

// The company's chart: CONTACTB of each classification (the analytic account where a synthetic
// one shares its classification).
using TPlanoEmpresa = std::map<std::string, int64_t>;

// Inserts the company's registers and returns its chart.
// REQUIRES: the shared rows are in (GravarCadastrosDemo); inside a write transaction.
TPlanoEmpresa GravarEmpresaDemo(const TEmpresaDemo& empresa);

}  // namespace nHost
