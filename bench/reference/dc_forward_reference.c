/* A plain C program of the DC resistivity forward model, written straight
 * from the algorithm for comparison with the program's own routine: the
 * Pekeris recurrence with its two divisions per layer, the adaptive J0
 * transform with its kernel cache and stopping rule, and the Schlumberger
 * kernel of two potential electrodes, one kernel evaluation after the other.
 * It models the default sounding (22 Schlumberger readings over seven layers
 * of 15 ohm-m) over and over for at least the given number of seconds and
 * prints the microseconds of one forward call and the sum of the apparent
 * resistivities (a check that both programs compute the same curve). */

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define POINTS 283
#define READINGS 22
#define LAYERS 7

const float* zeva_reference_j0_weights(void);

static const float half_spacing[READINGS] = {4,  5,   7,   10,  10,  15,  20,  30,  40,  40,  50,
                                             70, 100, 150, 200, 200, 300, 400, 500, 500, 700, 909};
static const float mn[READINGS] = {0.8f,  0.8f,  0.8f,  0.8f,  1.5f,  1.5f, 1.5f, 1.5f,
                                   1.5f,  7.6f,  7.6f,  7.6f,  7.6f,  7.6f, 7.6f, 30.3f,
                                   30.3f, 30.3f, 30.3f, 90.9f, 90.9f, 90.9f};
static const float observed[READINGS] = {159.9f, 84.5f, 68.5f, 61.6f, 58.0f, 74.4f, 73.2f, 98.7f,
                                         100.5f, 81.9f, 85.6f, 89.0f, 94.1f, 69.7f, 49.6f, 48.7f,
                                         36.7f,  26.2f, 20.9f, 25.4f, 27.6f, 37.0f};

/* The work block: model copy, kernel cache, Schlumberger factors. */
static float rho[LAYERS];
static float thick[LAYERS - 1];
static float cache[POINTS];
static float c_minus, c_plus;
static const float* weights;

static float transform(float lambda) {
  float t = rho[LAYERS - 1];
  for (int j = LAYERS - 2; j >= 0; --j) {
    float k = (rho[j] - t) / (rho[j] + t);
    float u = -2.0f * lambda * thick[j];
    float f;
    if (u <= -21.0f)
      f = 1.0f;
    else if (u > 21.0f)
      f = -1.0f;
    else {
      float e = expf(u);
      f = (1.0f - k * e) / (1.0f + k * e);
    }
    t = rho[j] * f;
  }
  return t;
}

static float schlumberger_kernel(float lambda) {
  return (c_plus * transform(lambda / c_minus) - c_minus * transform(lambda / c_plus)) /
         (c_plus - c_minus);
}

static float kernel_at(int i, float lambda) {
  if (cache[i - 1] == 0.0f) cache[i - 1] = schlumberger_kernel(lambda);
  return cache[i - 1];
}

/* One outward pass; returns 0 on success, 1 when the start search is needed. */
static int pass(int start, float r, float tol, float* result) {
  float lambda0 = expf(0.2f * (float)start - 26.30668f) / r;
  float sum = weights[start - 1] * kernel_at(start, lambda0);
  float largest = fabsf(sum);
  int point[2] = {start, start}, step[2] = {0, 0}, active[2] = {1, 1};
  int test_from[2] = {6, 5}, delta[2] = {1, -1};
  float lambda[2] = {lambda0, lambda0}, factor[2] = {1.2214027f, 0.8187308f};
  float newer[2] = {1.0e30f, 1.0e30f}, older[2] = {1.0e30f, 1.0e30f};
  while (active[0] || active[1]) {
    for (int d = 0; d < 2; ++d) {
      if (!active[d]) continue;
      int p = point[d] + delta[d];
      if (p > POINTS || p < 1) {
        active[d] = 0;
        continue;
      }
      point[d] = p;
      lambda[d] *= factor[d];
      float term = weights[p - 1] * kernel_at(p, lambda[d]);
      sum += term;
      float magnitude = fabsf(term);
      if (magnitude > largest) largest = magnitude;
      if (++step[d] < test_from[d]) continue;
      if (sum == 0.0f) return 1;
      float limit = tol * fabsf(sum);
      if (magnitude < limit && newer[d] < limit && older[d] < limit && magnitude < tol * largest) {
        active[d] = 0;
        continue;
      }
      older[d] = newer[d];
      newer[d] = magnitude;
    }
  }
  *result = sum * 1.0e-20f / r;
  return 0;
}

static float hankel(float r) {
  float B = 1.0f / r, result = 0.0f;
  memset(cache, 0, sizeof cache);
  for (int searched = 0;; searched = 1) {
    float position = (logf(B * r) + 30.302513f) * 5.0f + 0.5f;
    if (position >= 1.0f && position < (float)(POINTS + 1) &&
        pass((int)position, r, 1.0e-4f, &result) == 0)
      return result;
    if (searched) return 0.0f;
    float lambda = 4.592112e-12f / r, best = 0.0f, best_lambda = 0.0f;
    for (int k = 0; k < 10; ++k, lambda *= 270.4264f) {
      float m = fabsf(weights[28 * k] * kernel_at(1 + 28 * k, lambda));
      if (m > best) best = m, best_lambda = lambda;
    }
    if (best == 0.0f) return 0.0f;
    B = best_lambda;
  }
}

static float model[2 * LAYERS - 1] = {15,   15,   15,   15,    15,    15,    15,
                                      1.0f, 3.5f, 5.0f, 10.0f, 75.0f, 200.0f};
static float synthetic[READINGS];

/* One forward call: apparent resistivities and the log10 fit. */
static float forward(void) {
  for (int j = 0; j < LAYERS; ++j) rho[j] = model[j] > 0.0f ? model[j] : 10.0f;
  for (int j = 0; j < LAYERS - 1; ++j)
    thick[j] = model[LAYERS + j] > 0.0f ? model[LAYERS + j] : 10.0f;
  for (int i = 0; i < READINGS; ++i) {
    float L = half_spacing[i], b = mn[i] / 2.0f;
    c_minus = (L - b) / L;
    c_plus = (L + b) / L;
    synthetic[i] = L * hankel(L);
  }
  float sum = 0.0f;
  for (int i = 0; i < READINGS; ++i) {
    float d = log10f(fabsf(synthetic[i] / observed[i]) + 1.0e-30f);
    sum += d * d;
  }
  return sqrtf(sum / READINGS);
}

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + 1.0e-9 * (double)t.tv_nsec;
}

int main(int argc, char** argv) {
  double seconds = argc > 1 ? atof(argv[1]) : 0.5;
  weights = zeva_reference_j0_weights();
  volatile float fit = forward();
  long calls = 0;
  double start = now(), elapsed;
  do {
    for (int k = 0; k < 100; ++k) fit = forward();
    calls += 100;
    elapsed = now() - start;
  } while (elapsed < seconds);
  double total = 0.0;
  for (int i = 0; i < READINGS; ++i) total += synthetic[i];
  printf("us_per_call %.3f\ncurve_sum %.4f\nfit %.6f\n", 1.0e6 * elapsed / (double)calls, total,
         (double)fit);
  return 0;
}
