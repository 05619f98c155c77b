/* The SAGRES floor: each month's ExecucaoEmpresas document of the product's run (revenue,
   expense and asset rules of the forms FUNCAO(conta) + FUNCAO(conta) ..., bank accounts, the
   stores account; no invoices, so no payments nor withholdings), zipped into PASTA/aaaa_mm,
   from the chart, rules and opening balances preloaded and one scan of the period's entries
   into monthly debits and credits per account.
   Usage: piso_sagres BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD UNIDADE CONTA_ALMOXARIFADO PASTA */
#include <sys/stat.h>
#include <zip.h>

#include "piso.h"

enum { kMeses = 12 };

typedef struct {
  int existe, natureza;
  long long abertura;                      /* debits minus credits before the period */
  long long delta[kMeses];                 /* every entry of the month, debits minus credits */
  long long deb[kMeses], cred[kMeses];     /* without the closing entries ("ZZ") */
} TConta;

typedef struct {
  char* texto;
  size_t n, cap;
} TBuffer;

static TConta* g_contas;
static long long g_max;

static void Por(TBuffer* b, const char* t) {
  size_t n = strlen(t);
  if (b->n + n + 1 > b->cap) {
    b->cap = (b->n + n + 1) * 2;
    b->texto = realloc(b->texto, b->cap);
  }
  memcpy(b->texto + b->n, t, n + 1);
  b->n += n;
}

static void Elemento(TBuffer* b, const char* indent, const char* nome, const char* valor) {
  char t[1024];
  char esc[512];
  size_t k = 0;
  for (const char* p = valor; *p && k < sizeof esc - 6; ++p) {
    const char* e = *p == '&' ? "&amp;" : *p == '<' ? "&lt;" : *p == '>' ? "&gt;" : NULL;
    if (e) {
      strcpy(esc + k, e);
      k += strlen(e);
    } else {
      esc[k++] = *p;
    }
  }
  esc[k] = 0;
  snprintf(t, sizeof t, "%s<exec:%s>%s</exec:%s>\n", indent, nome, esc, nome);
  Por(b, t);
}

static void Moeda(char* t, long long c) {
  sprintf(t, "%s%lld.%02lld", c < 0 ? "-" : "", llabs(c) / 100, llabs(c) % 100);
}

/* The month's balances of an account as the balance process gives them: previous, debits,
   credits, movement, current; on the group's side. 0 when it has no row. */
static int Saldos(long long k, int mes, long long v[5]) {
  memset(v, 0, sizeof(long long) * 5);
  if (k < 0 || k > g_max || !g_contas[k].existe) return 0;
  TConta* c = &g_contas[k];
  long long anterior = c->abertura;
  for (int m = 0; m < mes; ++m) anterior += c->delta[m];
  long long atual = anterior + c->deb[mes] - c->cred[mes];
  if (anterior == 0 && c->deb[mes] == 0 && c->cred[mes] == 0 && atual == 0) return 0;
  v[0] = anterior * c->natureza;
  v[1] = c->deb[mes];
  v[2] = c->cred[mes];
  v[3] = (c->deb[mes] - c->cred[mes]) * c->natureza;
  v[4] = atual * c->natureza;
  return 1;
}

static long long Regra(const char* f, int mes) {
  static const char* funcoes[] = {"SALDOANTERIOR", "DEBITO", "CREDITO", "MOVIMENTO", "SALDOATUAL"};
  long long total = 0;
  int sinal = 1;
  for (const char* p = f; *p;) {
    if (*p == '+' || *p == ' ') { ++p; continue; }
    if (*p == '-') { sinal = -1; ++p; continue; }
    const char* abre = strchr(p, '(');
    if (!abre) break;
    int tipo = -1;
    for (int i = 0; i < 5; ++i)
      if ((size_t)(abre - p) == strlen(funcoes[i]) && strncmp(p, funcoes[i], (size_t)(abre - p)) == 0) tipo = i;
    long long conta = atoll(abre + 1), v[5];
    Saldos(conta, mes, v);
    if (tipo >= 0) total += sinal * v[tipo];
    sinal = 1;
    p = strchr(abre, ')');
    if (!p) break;
    ++p;
  }
  return llabs(total);
}

int main(int argc, char** argv) {
  if (argc != 9) {
    fprintf(stderr, "uso: %s BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD UNIDADE CONTA_ALMOXARIFADO PASTA\n", argv[0]);
    return 2;
  }
  sqlite3* db = AbrirBanco(argv[1]);
  int empresa = atoi(argv[2]);
  const char *ini = argv[4], *fim = argv[5], *unidade = argv[6], *pasta = argv[8];
  long long almoxarifado = atoll(argv[7]);
  int ano = atoi(ini), mesIni = atoi(ini + 5);
  int meses = (atoi(fim) - ano) * 12 + atoi(fim + 5) - mesIni + 1;
  if (meses > kMeses) meses = kMeses;

  int natureza[10] = {0};
  sqlite3_stmt* st = Preparar(db, "select NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4, NATURGRUPO5, NATURGRUPO6, "
                                  "NATURGRUPO7, NATURGRUPO8, NATURGRUPO9 from CFGPLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW)
    for (int g = 1; g <= 9; ++g) natureza[g] = sqlite3_column_int(st, g - 1);
  sqlite3_finalize(st);

  st = Preparar(db, "select max(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW) g_max = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  g_contas = calloc((size_t)g_max + 1, sizeof(TConta));
  st = Preparar(db, "select CONTACTB, CLASSIFCONTA from PLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    const char* c = (const char*)sqlite3_column_text(st, 1);
    if (k >= 0 && k <= g_max) g_contas[k].natureza = natureza[c[0] >= '1' && c[0] <= '9' ? c[0] - '0' : 1];
  }
  sqlite3_finalize(st);

  st = Preparar(db, "select CONTACTB, sum(case NATUREZASALDO when 1 then VALORSALDO else -VALORSALDO end) from "
                    "IMPLSALDOCTB where CODIGOEMPRESA = ? and DATASALDO <= ? group by CONTACTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    if (k >= 0 && k <= g_max) {
      g_contas[k].abertura = Centavos(st, 1);
      g_contas[k].existe = 1;
    }
  }
  sqlite3_finalize(st);

  st = Preparar(db, "select DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOORIGLCTOCTB from LCTOCTB where "
                    "CODIGOEMPRESA = ? and DATALCTOCTB between ? and ?");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* d = (const char*)sqlite3_column_text(st, 0);
    int mes = (atoi(d) - ano) * 12 + atoi(d + 5) - mesIni;
    if (mes < 0 || mes >= kMeses) continue;
    long long v = Centavos(st, 3);
    const char* o = (const char*)sqlite3_column_text(st, 4);
    int encerramento = o && strcmp(o, "ZZ") == 0;
    for (int lado = 1; lado <= 2; ++lado) {
      if (sqlite3_column_type(st, lado) == SQLITE_NULL) continue;
      long long k = sqlite3_column_int64(st, lado);
      if (k < 0 || k > g_max) continue;
      TConta* c = &g_contas[k];
      c->existe = 1;
      c->delta[mes] += lado == 1 ? v : -v;
      if (encerramento) continue;
      if (lado == 1) c->deb[mes] += v; else c->cred[mes] += v;
    }
  }
  sqlite3_finalize(st);

  /* The rules and bank accounts, read once. */
  char nome[256] = "";
  st = Preparar(db, "select NOMEESTAB from ESTAB where CODIGOEMPRESA = ? and CODIGOESTAB = 1");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW) snprintf(nome, sizeof nome, "%s", sqlite3_column_text(st, 0));
  sqlite3_finalize(st);
  struct { int tipo; char* regra; } receitas[256], despesas[256];
  struct { char *tipo, *lancamento, *regra; } patrimonios[256];
  struct { int banco, agencia; char* numero; long long conta; } bancos[256];
  int nr = 0, nd = 0, np = 0, nb = 0;
  st = Preparar(db, "select TIPORECEITA, REGRACALCULOCTB from TCESESAGRESRECEITA where CODIGOEMPRESA = ? order by TIPORECEITA");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW && nr < 256) {
    receitas[nr].tipo = sqlite3_column_int(st, 0);
    receitas[nr++].regra = Copia(sqlite3_column_text(st, 1));
  }
  sqlite3_finalize(st);
  st = Preparar(db, "select TIPODESPESA, REGRACALCULOCTB from TCESESAGRESDESPESA where CODIGOEMPRESA = ? order by TIPODESPESA");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW && nd < 256) {
    despesas[nd].tipo = sqlite3_column_int(st, 0);
    despesas[nd++].regra = Copia(sqlite3_column_text(st, 1));
  }
  sqlite3_finalize(st);
  st = Preparar(db, "select TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB from TCESESAGRESPATRIMONIO where "
                    "CODIGOEMPRESA = ? order by TIPOPATRIMONIO, TIPOLANCAMENTO");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW && np < 256) {
    patrimonios[np].tipo = Copia(sqlite3_column_text(st, 0));
    patrimonios[np].lancamento = Copia(sqlite3_column_text(st, 1));
    patrimonios[np++].regra = Copia(sqlite3_column_text(st, 2));
  }
  sqlite3_finalize(st);
  st = Preparar(db, "select CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA, CONTACTB from TCESESAGRESCONTABANC where "
                    "CODIGOEMPRESA = ? order by CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW && nb < 256) {
    bancos[nb].banco = sqlite3_column_int(st, 0);
    bancos[nb].agencia = sqlite3_column_int(st, 1);
    bancos[nb].numero = Copia(sqlite3_column_text(st, 2));
    bancos[nb++].conta = sqlite3_column_int64(st, 3);
  }
  sqlite3_finalize(st);

  static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  long long bytes = 0;
  TBuffer x = {0};
  for (int m = 0; m < meses; ++m) {
    int a = ano + (mesIni - 1 + m) / 12, mes = (mesIni - 1 + m) % 12 + 1;
    int ultimo = dias[mes - 1] + (mes == 2 && ((a % 4 == 0 && a % 100 != 0) || a % 400 == 0));
    char t[64], v1[40], v2[40], v3[40], v4[40];
    x.n = 0;
    Por(&x, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<exec:ExecucaoEmpresas "
            "xmlns:exec=\"http://www.tce.se.gov.br/sagres2017/xml/ExecucaoEmpresas\" "
            "xmlns:genEmp=\"http://www.tce.se.gov.br/sagres2017/xml/GenericosEmpresas\">\n  <exec:PrestacaoContas>\n");
    Elemento(&x, "    ", "codigoUnidGestora", unidade);
    Elemento(&x, "    ", "nomeUnidGestora", nome);
    Elemento(&x, "    ", "cpfContador", "");
    Elemento(&x, "    ", "cpfGestor", "");
    sprintf(t, "%d", a);
    Elemento(&x, "    ", "anoReferencia", t);
    sprintf(t, "%d", mes);
    Elemento(&x, "    ", "mesReferencia", t);
    Elemento(&x, "    ", "versaoXml", "0");
    Elemento(&x, "    ", "diaInicPresContas", "1");
    sprintf(t, "%d", ultimo);
    Elemento(&x, "    ", "diaFinaPresContas", t);
    Por(&x, "  </exec:PrestacaoContas>\n");
    for (int i = 0; i < nr; ++i) {
      long long v = Regra(receitas[i].regra, m);
      if (!v) continue;
      Por(&x, "  <exec:Receita>\n");
      sprintf(t, "%d", receitas[i].tipo);
      Elemento(&x, "    ", "tipoReceita", t);
      Moeda(v1, v);
      Elemento(&x, "    ", "valorArrecadadoNoMes", v1);
      Por(&x, "  </exec:Receita>\n");
    }
    for (int i = 0; i < nd; ++i) {
      long long v = Regra(despesas[i].regra, m);
      if (!v) continue;
      Por(&x, "  <exec:Despesa>\n");
      sprintf(t, "%d", despesas[i].tipo);
      Elemento(&x, "    ", "tipoDespesa", t);
      Moeda(v1, v);
      Elemento(&x, "    ", "valorDespesaNoMes", v1);
      Por(&x, "  </exec:Despesa>\n");
    }
    for (int i = 0; i < nb; ++i) {
      long long s[5];
      if (!Saldos(bancos[i].conta, m, s) || s[0] + s[1] + s[2] + s[4] == 0) continue;
      Por(&x, "  <exec:ContaBancaria>\n");
      sprintf(t, "%03d", bancos[i].banco);
      Elemento(&x, "    ", "codigoBanco", t);
      sprintf(t, "%d", bancos[i].agencia);
      Elemento(&x, "    ", "codigoAgencia", t);
      Elemento(&x, "    ", "numeroContaBancaria", bancos[i].numero);
      Moeda(v1, s[0]), Moeda(v2, s[2]), Moeda(v3, s[1]), Moeda(v4, s[4]);
      Elemento(&x, "    ", "valorSaldoInicialNoMes", v1);
      Elemento(&x, "    ", "valorTotalDebitos", v2);
      Elemento(&x, "    ", "valorTotalCreditos", v3);
      Elemento(&x, "    ", "valorConciliacao", v4);
      Por(&x, "  </exec:ContaBancaria>\n");
    }
    for (int i = 0; i < np; ++i) {
      long long v = Regra(patrimonios[i].regra, m);
      if (!v) continue;
      Por(&x, "  <exec:Patrimonio>\n");
      Elemento(&x, "    ", "tipoPatrimonio", patrimonios[i].tipo);
      Elemento(&x, "    ", "tipoLancamento", patrimonios[i].lancamento);
      Moeda(v1, v);
      Elemento(&x, "    ", "vl_Lancamento", v1);
      Por(&x, "  </exec:Patrimonio>\n");
    }
    long long s[5];
    if (Saldos(almoxarifado, m, s) && s[0] + s[1] + s[2] + s[4] != 0) {
      Por(&x, "  <exec:Almoxarifado>\n");
      Moeda(v1, s[0]), Moeda(v2, s[1]), Moeda(v3, s[2]), Moeda(v4, s[4]);
      Elemento(&x, "    ", "vl_SaldoInicial", v1);
      Elemento(&x, "    ", "vl_Entrada", v2);
      Elemento(&x, "    ", "vl_Saida", v3);
      Elemento(&x, "    ", "vl_SaldoFinal", v4);
      Por(&x, "  </exec:Almoxarifado>\n");
    }
    Por(&x, "</exec:ExecucaoEmpresas>\n");

    char caminho[4096];
    snprintf(caminho, sizeof caminho, "%s/%04d_%02d", pasta, a, mes);
    mkdir(caminho, 0777);
    strncat(caminho, "/ExecucaoEmpresas.zip", sizeof caminho - strlen(caminho) - 1);
    int erro = 0;
    zip_t* z = zip_open(caminho, ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!z) {
      fprintf(stderr, "%s: erro %d do libzip\n", caminho, erro);
      return 1;
    }
    zip_file_add(z, "ExecucaoEmpresas.xml", zip_source_buffer(z, x.texto, x.n, 0), ZIP_FL_ENC_UTF_8);
    if (zip_close(z) != 0) {
      fprintf(stderr, "%s: %s\n", caminho, zip_strerror(z));
      return 1;
    }
    struct stat info;
    if (stat(caminho, &info) == 0) bytes += info.st_size;
  }
  printf("%lld\n", bytes);
  sqlite3_close(db);
  return 0;
}
