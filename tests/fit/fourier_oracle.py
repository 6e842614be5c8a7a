#!/usr/bin/env python3
"""The amplitude spectrum of a run, by numpy, for tests/fit/test_fourier.cpp to compare with.

fourier_oracle.py SAMPLES PADDED OUT: SAMPLES holds the run's values (float64, native order);
OUT receives the one-sided amplitudes, PADDED // 2 + 1 of them (float64): the mean removed, the
symmetric Hann window 0.5 - 0.5*cos(2*pi*i/(n-1)) applied, zeros appended up to PADDED points,
|rfft| divided by the window's sum and doubled except at DC and Nyquist.
"""
import sys

import numpy as np


def main():
    samples_path, padded, out_path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    x = np.fromfile(samples_path, dtype=np.float64)
    n = x.size
    i = np.arange(n, dtype=np.float64)
    w = 0.5 - 0.5 * np.cos(2.0 * np.pi * i / (n - 1))
    y = np.zeros(padded)
    y[:n] = (x - x.mean()) * w
    a = np.abs(np.fft.rfft(y)) / w.sum()
    a[1:] *= 2.0
    if padded % 2 == 0:
        a[-1] /= 2.0
    a.astype(np.float64).tofile(out_path)


if __name__ == "__main__":
    main()
