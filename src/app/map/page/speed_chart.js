// The speed chart under the map: the speeds of the searched range over time, drawn by
// Chart.js from what the program hands it. The point under the pointer (or chosen with the
// arrow keys) is marked on the map.
'use strict';

(function () {
  const panel = document.getElementById('chart');
  const canvas = document.getElementById('chartCanvas');
  let series = { t: [], v: [], lat: [], lon: [] };
  let chart = null;
  let hovered = -1;

  function two(n) { return (n < 10 ? '0' : '') + n; }
  // The program's moments are seconds on the local calendar: read as UTC, so that the
  // page's own zone does not shift them.
  function dateText(seconds) {
    const d = new Date(seconds * 1000);
    return d.getUTCFullYear() + '/' + two(d.getUTCMonth() + 1) + '/' + two(d.getUTCDate());
  }
  function clockText(seconds) {
    const d = new Date(seconds * 1000);
    return two(d.getUTCHours()) + ':' + two(d.getUTCMinutes());
  }
  function momentText(seconds) {
    return dateText(seconds) + ' ' + clockText(seconds) + ':' + two(new Date(seconds * 1000).getUTCSeconds());
  }
  // A range of days shows the date with the hour; a day, the hour alone.
  function tickText(seconds) {
    const span = series.t.length ? series.t[series.t.length - 1] - series.t[0] : 0;
    return span > 86400 ? dateText(seconds).substring(5) + ' ' + clockText(seconds)
                        : clockText(seconds);
  }
  function speedText(kmh) { return kmh.toFixed(1) + ' km/h'; }

  function hover(index) {
    if (index === hovered) {
      return;
    }
    hovered = index;
    kv820Map.markPoint(index < 0 ? null : { lat: series.lat[index], lon: series.lon[index],
                                            label: momentText(series.t[index]) + ', ' +
                                                   speedText(series.v[index]) });
  }

  function create() {
    chart = new Chart(canvas, {
      type: 'line',
      data: { datasets: [{ data: [], borderColor: '#2c7bb6', backgroundColor: 'rgba(44, 123, 182, 0.15)',
                           fill: true, borderWidth: 1.5, pointRadius: 0, pointHoverRadius: 5,
                           pointHoverBackgroundColor: '#ffd400', tension: 0 }] },
      options: {
        animation: false, parsing: false, normalized: true, responsive: true,
        maintainAspectRatio: false,
        interaction: { mode: 'nearest', axis: 'x', intersect: false },
        scales: {
          x: { type: 'linear', ticks: { callback: tickText, maxRotation: 0, autoSkipPadding: 16 } },
          y: { beginAtZero: true, title: { display: true, text: 'km/h' } },
        },
        plugins: {
          legend: { display: false },
          tooltip: { callbacks: { title: function (items) { return momentText(items[0].parsed.x); },
                                  label: function (item) { return speedText(item.parsed.y); } } },
        },
        onHover: function (event, elements) {
          if (elements.length > 0) {
            hover(elements[0].index);
          }
        },
      },
    });
  }

  // The keyboard's pointer: the arrows step through the points, Home and End go to the ends.
  function select(index) {
    if (!chart || series.t.length === 0) {
      return;
    }
    index = Math.max(0, Math.min(series.t.length - 1, index));
    const active = [{ datasetIndex: 0, index: index }];
    const element = chart.getDatasetMeta(0).data[index];
    chart.setActiveElements(active);
    chart.tooltip.setActiveElements(active, { x: element.x, y: element.y });
    chart.update();
    hover(index);
  }

  panel.addEventListener('keydown', function (e) {
    const steps = { ArrowLeft: -1, ArrowRight: 1, PageUp: -10, PageDown: 10 };
    const from = Math.max(hovered, 0);
    if (e.key in steps) {
      select(hovered < 0 ? 0 : from + steps[e.key] * (e.shiftKey ? 10 : 1));
    } else if (e.key === 'Home') {
      select(0);
    } else if (e.key === 'End') {
      select(series.t.length - 1);
    } else {
      return;
    }
    e.preventDefault();
  });

  window.kv820Chart = {
    // {t:[seconds], v:[km/h], lat:[], lon:[]}; no points hides the panel.
    show: function (data) {
      series = data;
      hovered = -1;
      kv820Map.markPoint(null);
      const shown = series.t.length > 0;
      panel.classList.toggle('shown', shown);
      kv820Map.refreshSize();
      if (!shown) {
        return;
      }
      if (!chart) {
        create();
      }
      const points = new Array(series.t.length);
      for (let i = 0; i < points.length; ++i) {
        points[i] = { x: series.t[i], y: series.v[i] };
      }
      chart.data.datasets[0].data = points;
      chart.options.scales.x.min = series.t[0];
      chart.options.scales.x.max = series.t[series.t.length - 1];
      chart.resize();
      chart.update();
    },
    select: select,
    // Where point `index` is drawn, in the page's pixels: for tests that hover over it.
    clientPointOf: function (index) {
      const element = chart.getDatasetMeta(0).data[index];
      const box = canvas.getBoundingClientRect();
      return [box.left + element.x, box.top + element.y];
    },
    // What is drawn, for the program's tests.
    state: function () {
      return { visible: panel.classList.contains('shown'), height: panel.offsetHeight,
               points: chart && panel.classList.contains('shown') ? chart.data.datasets[0].data.length : 0,
               hovered: hovered };
    },
  };
})();
