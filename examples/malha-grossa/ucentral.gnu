# Convergence history: change of the central velocity per iteration, from
# ucentral.dat, on a log scale. Writes ucentral.png next to ucentral.dat; also
# opens a window when a display is there and someone is at the terminal (on
# Windows, always), and waits until the window is closed.
set encoding utf8
tela = GPVAL_TERM

# Reals with a three-digit exponent are written without the letter E
# ("1.000000000000000-120"); gnuplot would read them as 1.0.
num(s) = strstrt(s, "E") > 0 ? real(s) : real(s[1:strlen(s)-4] . "E" . s[strlen(s)-3:strlen(s)])

# Zero changes have no place on a log scale: they are counted and left out.
positivas = 0
nulas = 0
stats 'ucentral.dat' using (num(strcol(2)) > 0) name "POSITIVAS" nooutput
stats 'ucentral.dat' using (num(strcol(2)) == 0) name "NULAS" nooutput
if (exists("POSITIVAS_sum")) { positivas = POSITIVAS_sum; nulas = NULAS_sum }

set xlabel "iteração"
set ylabel "|Δu| no volume central [m/s]"
set logscale y
set format y "10^{%L}"
set grid
set key off
titulo = "Convergência: variação da velocidade no volume central"
if (nulas == 1) { titulo = titulo . "\n{/*0.85 (1 iteração com variação nula, fora da escala logarítmica)}" }
if (nulas > 1) {
  titulo = titulo . sprintf("\n{/*0.85 (%d iterações com variação nula, fora da escala logarítmica)}", nulas)
}
set title titulo
if (positivas > 0) {
  plotar = "plot 'ucentral.dat' using 1:(num(strcol(2)) > 0 ? num(strcol(2)) : NaN) with linespoints pt 7 ps 0.5 lc rgb '#1f5fa8'"
} else {
  set xrange [0:(nulas > 0 ? nulas : 1)]
  set yrange [1e-17:1]
  set label 2 "nenhuma variação positiva para mostrar" at graph 0.5, 0.5 center
  plotar = "plot NaN"
}

set terminal pngcairo size 900,600 enhanced font ",11"
set output "ucentral.png"
eval plotar
set output

janela = 0
if (tela eq "windows") { janela = 1 }
if (tela eq "qt" || tela eq "wxt" || tela eq "x11") {
  janela = system("[ -t 0 ] && [ -n \"$DISPLAY$WAYLAND_DISPLAY\" ] && echo 1") eq "1"
}
if (tela eq "aqua") { janela = system("[ -t 0 ] && echo 1") eq "1" }
if (janela) {
  eval "set terminal " . tela
  eval plotar
  pause mouse close
}
