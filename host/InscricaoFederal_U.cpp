#include "InscricaoFederal_U.h"

#include "TextUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

// Modulo 11 digit over the digits so far, with the weights cycling from 2 upwards (to `maximo`)
// from the rightmost digit.
char DigitoModulo11(std::string_view digitos, int maximo) {
  int soma = 0, peso = 2;
  for (size_t i = digitos.size(); i-- > 0;) {
    soma += (digitos[i] - '0') * peso;
    peso = peso == maximo ? 2 : peso + 1;
  }
  int resto = soma % 11;
  return static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

std::string ComDigitos(std::string digitos, int maximo) {
  digitos += DigitoModulo11(digitos, maximo);
  digitos += DigitoModulo11(digitos, maximo);
  return digitos;
}

std::string Zeros(uint64_t numero, size_t largura) {
  std::string t = std::to_string(numero);
  return t.size() >= largura ? t : std::string(largura - t.size(), '0') + t;
}

}  // namespace

std::string GerarCNPJ(uint32_t raiz, int filial) {
  std::string d = ComDigitos(Zeros(raiz % 100000000, 8) + Zeros(static_cast<uint64_t>(filial) % 10000, 4), 9);
  return d.substr(0, 2) + "." + d.substr(2, 3) + "." + d.substr(5, 3) + "/" + d.substr(8, 4) + "-" + d.substr(12, 2);
}

std::string GerarCPF(uint32_t base) {
  std::string d = ComDigitos(Zeros(base % 1000000000, 9), 11);
  return d.substr(0, 3) + "." + d.substr(3, 3) + "." + d.substr(6, 3) + "-" + d.substr(9, 2);
}

bool CNPJValido(std::string_view texto) {
  std::string d = LimparStrToInscricaoFederal(texto, "");
  return d.size() == 14 && d != std::string(14, d[0]) && ComDigitos(d.substr(0, 12), 9) == d;
}

bool CPFValido(std::string_view texto) {
  std::string d = LimparStrToInscricaoFederal(texto, "");
  return d.size() == 11 && d != std::string(11, d[0]) && ComDigitos(d.substr(0, 9), 11) == d;
}

}  // namespace nHost
